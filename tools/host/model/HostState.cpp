#include "tools/host/model/HostState.h"

#include <cstdio>
#include <new>

#include "host/ComPtr.h"
#include "platform/Text.h"
#include "tools/host/model/AllocationGate.h"

namespace tavrel::hostmodel {

std::string Utf8(std::u16string_view text) { return text::ToUtf8(text); }

std::string HexCode(HRESULT hr) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(hr));
  return buffer;
}

std::u16string SubstituteString(Way way) {
  switch (way) {
    case Way::LongString:
      return std::u16string(32767, u'x');
    case Way::EmbeddedNul:
      return std::u16string(u"C:\\Host\0Folder\\", 15);
    default:
      return {};
  }
}

HostState::~HostState() {
  for (auto& [cookie, sink] : sinks) sink->Release();
}

const HostState::Document* HostState::Find(int serial) const {
  for (const Document& document : documents) {
    if (document.serial == serial) return &document;
  }
  return nullptr;
}

void HostState::Record(nlohmann::json record) {
  const allocation::HostWorks host;
  records.push_back(std::move(record));
  if (onRecord) onRecord(records.back());
}

HRESULT HostState::Call(const std::string& operation, nlohmann::json arguments, const Body& body) {
  const allocation::HostWorks host;
  const int call = ++calls[operation];
  nlohmann::json result;
  std::u16string error;
  HRESULT hr = S_OK;
  const auto failure = failures.find(operation);
  const bool due = failure != failures.end() && (failure->second.once ? call == failure->second.fromCall
                                                                      : call >= failure->second.fromCall);
  const bool substitutes =
      due && !failure->second.throws && failure->second.way != Way::Code && failure->second.way != Way::Empty;
  if (due && !substitutes) {
    if (failure->second.throws) {
      Record({{"kind", "call"},
              {"op", operation},
              {"args", std::move(arguments)},
              {"thrown", "std::bad_alloc"}});
      throw std::bad_alloc();
    }
    hr = failure->second.hr;
    error = failure->second.description;
  } else {
    substitute = substitutes ? &failure->second : nullptr;
    try {
      hr = body(result, error);
    } catch (const std::exception& e) {
      hr = E_FAIL;
      error = text::FromUtf8(e.what());
    }
    substitute = nullptr;
  }
  nlohmann::json record = {
      {"kind", "call"}, {"op", operation}, {"args", std::move(arguments)}, {"hr", HexCode(hr)}};
  if (FAILED(hr)) {
    const auto info = host::ComPtr<IErrorInfo>::Adopt(platform::MakeErrorInfo(error));
    SetErrorInfo(0, info.Get());
    record["error"] = Utf8(error);
  } else {
    record["result"] = std::move(result);
  }
  Record(std::move(record));
  return hr;
}

}  // namespace tavrel::hostmodel
