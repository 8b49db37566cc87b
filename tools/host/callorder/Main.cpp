// tavrel-callorder: every sequence of up to four host actions against the
// plug-in in-process, then every re-entry of the host from inside the export
// and the settings dialog during every sequence of up to three that reaches
// it, after the host loaded and activated the plug-in. Each session ends as a host ends one and is checked
// (CallOrder.h).
//
//   tavrel-callorder --full            every session
//   tavrel-callorder --sample STRIDE   every STRIDE-th session of the same list
//   tavrel-callorder --steps A,B,... [--reentry POINT:ACTION]   one session
//
// Each session with a fault is printed with its faults; the last line gives
// the counts. Exit status 0 when no fault was found, 1 otherwise, 2 on a
// usage error.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "tools/host/callorder/CallOrder.h"

namespace {

using namespace tavrel::callorder;

constexpr std::size_t kLongest = 4;           // steps in a plain session
constexpr std::size_t kLongestReentrant = 3;  // steps in a re-entrant one

struct Session {
  std::vector<Step> steps;
  std::optional<Reentry> reentry;
};

// Every sequence of 0 to `longest` steps, shorter first, each length in
// lexicographic order.
std::vector<std::vector<Step>> Sequences(std::size_t longest) {
  std::vector<std::vector<Step>> all{{}};
  std::size_t from = 0;
  for (std::size_t length = 1; length <= longest; ++length) {
    const std::size_t to = all.size();
    for (std::size_t i = from; i < to; ++i) {
      for (std::size_t s = 0; s < kStepCount; ++s) {
        std::vector<Step> longer = all[i];
        longer.push_back(static_cast<Step>(s));
        all.push_back(std::move(longer));
      }
    }
    from = to;
  }
  return all;
}

// Whether a sequence has a step that can reach the re-entry point.
bool Reaches(const std::vector<Step>& steps, Point point) {
  for (const Step step : steps) {
    if (point == Point::Export && step == Step::ClickSend) return true;
    if (point == Point::Dialog && (step == Step::ClickSettingsApply || step == Step::ClickSettingsCancel))
      return true;
  }
  return false;
}

std::vector<Session> AllSessions() {
  std::vector<Session> sessions;
  for (auto& steps : Sequences(kLongest)) sessions.push_back({std::move(steps), std::nullopt});
  const auto shorter = Sequences(kLongestReentrant);
  for (std::size_t p = 0; p < kPointCount; ++p) {
    for (std::size_t a = 0; a < kActionCount; ++a) {
      const Reentry reentry{static_cast<Point>(p), static_cast<Action>(a)};
      for (const auto& steps : shorter) {
        if (!Reaches(steps, reentry.point)) continue;
        std::vector<Step> started{Step::Load, Step::Activate};
        started.insert(started.end(), steps.begin(), steps.end());
        sessions.push_back({std::move(started), reentry});
      }
    }
  }
  return sessions;
}

std::string Describe(const Session& session) {
  std::string text;
  for (const Step step : session.steps) text += (text.empty() ? "" : ",") + Name(step);
  if (text.empty()) text = "(none)";
  if (session.reentry)
    text += " reentry=" + Name(session.reentry->point) + ":" + Name(session.reentry->action);
  return text;
}

int Usage() {
  std::fputs("usage: tavrel-callorder --full | --sample STRIDE | --steps A,B,... [--reentry POINT:ACTION]\n",
             stderr);
  return 2;
}

int Run(int argc, char** argv) {
  std::vector<Session> sessions;
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--full" && argc == 2) {
    sessions = AllSessions();
  } else if (mode == "--sample" && argc == 3) {
    const long stride = std::strtol(argv[2], nullptr, 10);
    if (stride < 1) return Usage();
    const auto all = AllSessions();
    for (std::size_t i = 0; i < all.size(); i += static_cast<std::size_t>(stride)) sessions.push_back(all[i]);
  } else if (mode == "--steps" && (argc == 3 || argc == 5)) {
    Session one;
    if (!ParseSteps(argv[2], &one.steps)) return Usage();
    if (argc == 5) {
      Reentry reentry{};
      if (std::string(argv[3]) != "--reentry" || !ParseReentry(argv[4], &reentry)) return Usage();
      one.reentry = reentry;
    }
    sessions.push_back(one);
  } else {
    return Usage();
  }

  Campaign campaign;
  long reentrant = 0, reached = 0, faults = 0, faulty = 0, clean = 0, boxed = 0, exports = 0, programs = 0;
  for (const Session& session : sessions) {
    const SessionResult result = campaign.Run(session.steps, session.reentry ? &*session.reentry : nullptr);
    if (session.reentry) ++reentrant;
    if (result.reentered) ++reached;
    exports += result.exports;
    programs = programs < 0 || result.programs < 0 ? -1 : programs + result.programs;
    if (!result.faults.empty()) {
      ++faulty;
      faults += static_cast<long>(result.faults.size());
      std::printf("FAULT %s\n", Describe(session).c_str());
      for (const std::string& fault : result.faults) std::printf("  %s\n", fault.c_str());
    } else if (result.boxes > 0) {
      ++boxed;
    } else {
      ++clean;
    }
  }
  std::printf(
      "callorder: sessions=%zu reentrant=%ld reentered=%ld exports=%ld programs=%ld faults=%ld "
      "faulty-sessions=%ld crashes=0 outcomes: clean=%ld failure-shown=%ld faulty=%ld\n",
      sessions.size(), reentrant, reached, exports, programs, faults, faulty, clean, boxed, faulty);
  std::fflush(stdout);
  return faults == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tavrel-callorder: %s\n", error.what());
  } catch (...) {
    std::fputs("tavrel-callorder: an unknown exception escaped\n", stderr);
  }
  return 2;
}
