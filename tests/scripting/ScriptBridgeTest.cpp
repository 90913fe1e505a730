// The bridge on its own: argument checking, errors with their lines, script objects'
// lifetime, calls onto the UI thread, and automation paths.
#include "services/core/MainThread.h"
#include "services/scripting/ScriptBridge.h"
#include "services/scripting/ScriptEngine.h"
#include "services/scripting/ScriptException.h"
#include "services/scripting/UIThreadCall.h"
#include "services/ui/node/ParentToChildIdContainer.h"
#include "services/ui/testing/Input.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

using namespace kivscripting;

namespace {

// A class that counts its live objects and echoes or fails on request.
struct Probe : ScriptObject {
  static inline int live = 0;
  Probe() { ++live; }
  ~Probe() override { --live; }
};

void RegisterProbe() {
  ScriptClassDefinition c;
  c.name = "Probe";
  c.constructorParameters = {{"count", ScriptValueType::kInteger, 1.0, std::pair{1.0, 10.0}}};
  c.factory = [](const std::vector<ScriptValue>&) -> ScriptObjectPtr { return new Probe; };
  c.methods = {{"echo", "", 0, {{"text", ScriptValueType::kString, kivcore::UTF16String(u"none"), std::nullopt}}, ScriptValueType::kString,
                [](ScriptObject&, const std::vector<ScriptValue>& a) -> ScriptValue { return a[0]; }},
               {"fail", "", 0, {}, ScriptValueType::kNone,
                [](ScriptObject&, const std::vector<ScriptValue>&) -> ScriptValue { throw ScriptException(7, "probe failed"); }}};
  c.constants = {{"LIMIT", 10, ""}};
  ScriptBridge::Get().RegisterClass(std::move(c));
}

TEST(ScriptBridge, ScriptsUseClassesAndErrorsNameTheirLine) {
  RegisterProbe();
  {
    ScriptEngine engine;
    EXPECT_EQ(engine.Evaluate("var p = new Probe(); p.echo('hi') + '/' + p.echo() + '/' + Probe.LIMIT").value, "hi/none/10");
    EXPECT_EQ(engine.Evaluate("new Probe(4).echo(12)").value, "12") << "numbers become text for a string parameter";
    EXPECT_EQ(Probe::live, 2);

    const auto failed = engine.Evaluate("var q = new Probe();\n\ntry { q.fail(); } catch (e) { e.code + ':' + e.message }");
    EXPECT_EQ(failed.value, "7:probe failed") << "a script can catch what an object raises";
    const auto uncaught = engine.Evaluate("1;\nnew Probe().fail();", "run.js");
    EXPECT_FALSE(uncaught.ok);
    EXPECT_EQ(uncaught.error, "Error: probe failed");
    EXPECT_EQ(uncaught.line, 2) << "the line in the script, not in the class's own code";

    for (const char* bad : {"new Probe(11)", "new Probe(1.5)", "new Probe(1, 2)", "Probe()", "new Probe().nope()", "1 +"}) {
      const auto r = engine.Evaluate(bad);
      EXPECT_FALSE(r.ok) << bad;
      EXPECT_FALSE(r.error.empty()) << bad;
    }
    EXPECT_EQ(engine.Evaluate("new Probe(11)").error, "Error: Probe: count must be from 1 to 10");
    const auto missing = engine.RunFile("/nonexistent/script.js");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "cannot read /nonexistent/script.js: No such file or directory");
  }
  EXPECT_EQ(Probe::live, 0) << "the engine releases its objects";
}

TEST(ScriptBridge, CallsReachTheUIThreadAndGiveUpAfterTheTimeout) {
  std::atomic<bool> ranOnMain{false}, returned{false}, result{false};
  std::thread worker([&] {
    result = CallOnUIThread([&] { ranOnMain = kivcore::threads::IsMainThread(); }, 10000);
    returned = true;
  });
  ASSERT_TRUE(kivui::testing::WaitUntil([&] { return returned.load(); }, 10000));
  worker.join();
  EXPECT_TRUE(result);
  EXPECT_TRUE(ranOnMain);

  // The main thread does not process its queue here: the call times out, and never runs
  // afterwards (the caller was told it did not happen).
  std::atomic<bool> late{false};
  std::thread blocked([&] { result = CallOnUIThread([&] { late = true; }, 50); });
  blocked.join();
  EXPECT_FALSE(result);
  kivui::testing::ProcessEvents();
  EXPECT_FALSE(late) << "a call given up ran later";

  // What the call throws on the UI thread reaches the thread that made it.
  std::string thrown;
  returned = false;
  std::thread thrower([&] {
    try {
      CallOnUIThread([] { throw std::runtime_error("refused on the UI thread"); }, 10000);
    } catch (const std::runtime_error& e) {
      thrown = e.what();
    }
    returned = true;
  });
  ASSERT_TRUE(kivui::testing::WaitUntil([&] { return returned.load(); }, 10000));
  thrower.join();
  EXPECT_EQ(thrown, "refused on the UI thread");
}

TEST(ParentToChildIdContainer, ReadsAndWritesPaths) {
  kivui::ParentToChildIdContainer path;
  EXPECT_TRUE(path.Deserialize("TopLevelWindow/Frame/Panel"));
  EXPECT_EQ(path.GetIDs(), (std::vector<std::string>{"TopLevelWindow", "Frame", "Panel"}));
  EXPECT_EQ(path.Serialize(), "TopLevelWindow/Frame/Panel");
  for (const char* bad : {"", "/", "A//B", "A/", "/A"}) {
    EXPECT_FALSE(path.Deserialize(bad)) << bad;
    EXPECT_TRUE(path.GetIDs().empty());
    EXPECT_EQ(path.GetNode(kivui::ParentToChildIdContainer::kDescendants), nullptr);
  }
}

}  // namespace
