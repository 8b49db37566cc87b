// Events as the host sends them: the enable state of "To Embroidery", the
// command-state answers, and malformed events, which must do nothing.
#include <gtest/gtest.h>

#include "platform/Com.h"
#include "settings/PluginSettings.h"
#include "tests/host/SessionFixture.h"
#include "tools/dialogdriver/DialogAnswerer.h"

namespace tavrel::host {
namespace {

using testing_support::SessionFixture;

using settings::PluginSettings;

// Owned event arguments.
class Args {
 public:
  Args& Bstr(std::u16string_view text) {
    VARIANT& v = Add();
    v.vt = VT_BSTR;
    v.bstrVal = platform::AllocBstr(text);
    return *this;
  }
  Args& NullBstr() {
    Add().vt = VT_BSTR;
    return *this;
  }
  Args& I4(LONG value) {
    VARIANT& v = Add();
    v.vt = VT_I4;
    v.lVal = value;
    return *this;
  }
  Args& ByRefBool(VARIANT_BOOL* target) {
    VARIANT& v = Add();
    v.vt = VT_BYREF | VT_BOOL;
    v.pboolVal = target;
    return *this;
  }
  Args& Bool(VARIANT_BOOL value) {
    VARIANT& v = Add();
    v.vt = VT_BOOL;
    v.boolVal = value;
    return *this;
  }
  ~Args() {
    for (VARIANT& v : items_) VariantClear(&v);
  }
  const std::vector<VARIANT>& Items() const { return items_; }

 private:
  VARIANT& Add() {
    items_.emplace_back();
    VariantInit(&items_.back());
    return items_.back();
  }
  std::vector<VARIANT> items_;
};

class EventDispatchTest : public SessionFixture {
 protected:
  void OpenDrawing() {
    Host().OpenDrawing(std::filesystem::path(TAVREL_SOURCE_DIR) / "tools/host/samples/flower.svg");
  }
};

TEST_F(EventDispatchTest, SendIsDisabledUntilTheFirstStateChange) {
  OpenDrawing();
  PluginSettings.EmbAppType = 1;
  EXPECT_EQ(CommandState(u"Tavrel"), 0);
  Event(17, {});
  EXPECT_EQ(CommandState(u"Tavrel"), -1);
}

TEST_F(EventDispatchTest, SettingsIsAlwaysEnabled) {
  EXPECT_EQ(CommandState(u"TavrelSettings"), -1);
  OpenDrawing();
  Event(17, {});
  EXPECT_EQ(CommandState(u"TavrelSettings"), -1);
}

TEST_F(EventDispatchTest, StateChangeNeedsADocumentShapesAndAnApplication) {
  struct Case {
    bool document;
    int embAppType;
    int expected;
  };
  const Case cases[] = {{false, 1, 0}, {true, 0, 0}, {true, 2, -1}};
  for (const Case& c : cases) {
    Reset();
    if (c.document) OpenDrawing();
    PluginSettings.EmbAppType = c.embAppType;
    Event(17, {});
    EXPECT_EQ(CommandState(u"Tavrel"), c.expected);
  }
}

TEST_F(EventDispatchTest, WithoutADocumentOnlyTheCountIsAsked) {
  Event(17, {});
  EXPECT_EQ(Calls(), (std::vector<std::string>{"Application.Documents", "Documents.Count"}));
}

TEST_F(EventDispatchTest, AFailingStateChangeKeepsTheFlagSilently) {
  OpenDrawing();
  PluginSettings.EmbAppType = 1;
  Event(17, {});
  Host().FailFrom("Page.Shapes", 1, E_FAIL, u"no page");
  Event(17, {});
  EXPECT_EQ(CommandState(u"Tavrel"), -1);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(EventDispatchTest, MalformedCommandEventsRunNothing) {
  PluginSettings.EmbAppType = 0;  // a send that ran would show a box
  Event(20, {});
  Event(20, {}, true);
  Event(20, Args().Bstr(u"Tavrel").Bstr(u"Tavrel").Items());
  Event(20, Args().Bstr(u"tavrel").Items());
  Event(20, Args().Bstr(u"Tavrel ").Items());
  Event(20, Args().NullBstr().Items());
  Event(20, Args().I4(5).Items());
  Event(99, Args().Bstr(u"Tavrel").Items());
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_TRUE(Calls().empty());
}

TEST_F(EventDispatchTest, TheCommandEventRunsTheNamedCommand) {
  PluginSettings.EmbAppType = 0;
  Event(20, Args().Bstr(u"Tavrel").Items());
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text,
            u"Could not find the Embroidery Application!\nIs it properly installed on your computer?");
  EXPECT_EQ(boxes_.Boxes()[0].flags, 0x30u);
  Host().FailFrom("Application.MainWindow", 1, E_FAIL, u"no window");
  Event(20, Args().Bstr(u"TavrelSettings").Items());
  ASSERT_EQ(boxes_.Boxes().size(), 2u);
  EXPECT_EQ(boxes_.Boxes()[1].text, u"no window");
}

TEST_F(EventDispatchTest, TheSettingsCommandAsksForTheMainWindowOnly) {
  // The dialog opens (the test program holds it) and is cancelled.
  dialogdriver::DialogAnswerer answerer(
      {dialogdriver::DialogAnswer{{}, {}, {}, dialogdriver::DialogClose::Cancel}});
  Event(20, Args().Bstr(u"TavrelSettings").Items());
  EXPECT_EQ(Calls(), (std::vector<std::string>{"Application.MainWindow", "Window.Handle"}));
}

TEST_F(EventDispatchTest, MalformedStateQueriesWriteNothing) {
  VARIANT_BOOL flag = 0x5A5A;
  Event(21, Args().I4(0).ByRefBool(&flag).Bstr(u"Tavrel").Items());    // arguments reversed
  Event(21, Args().Bstr(u"Tavrel").Bool(0).I4(0).Items());             // not by reference
  Event(21, Args().Bstr(u"Tavrel").ByRefBool(nullptr).I4(0).Items());  // null reference
  Event(21, Args().Bstr(u"Tavrel").ByRefBool(&flag).Items());          // two arguments
  Event(21, Args().Bstr(u"Other").ByRefBool(&flag).I4(0).Items());
  Event(21, Args().NullBstr().ByRefBool(&flag).I4(0).Items());
  Event(21, {}, true);
  EXPECT_EQ(flag, 0x5A5A);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(EventDispatchTest, TheThirdArgumentIsLeftAlone) {
  VARIANT_BOOL flag = 0;
  Args args;
  args.Bstr(u"TavrelSettings").ByRefBool(&flag).I4(77);
  Event(21, args.Items());
  EXPECT_EQ(flag, -1);
  EXPECT_EQ(args.Items()[2].lVal, 77);
}

}  // namespace
}  // namespace tavrel::host
