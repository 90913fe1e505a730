#include "UITestNodes.h"

#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/testing/Input.h"

#include <gtest/gtest.h>

#include <algorithm>

using kivcore::PointF;
using kivtest::MakeWindow;
using kivtest::RecordingNode;
using kivui::UI_NodeManager;
namespace testing_ui = kivui::testing;

namespace {

std::vector<std::string> ChildIDs(const kivui::UI_Container& c) {
  std::vector<std::string> ids;
  for (std::size_t i = 0; i < c.GetChildCount(); ++i) ids.push_back(c.GetChild(i)->GetNodeID());
  return ids;
}

TEST(NodeTree, ChildrenKeepTheirOrderThroughInsertMoveRemoveAndReparenting) {
  auto root = std::make_shared<RecordingNode>("root");
  auto a = std::make_shared<RecordingNode>("a"), b = std::make_shared<RecordingNode>("b");
  auto c = std::make_shared<RecordingNode>("c"), d = std::make_shared<RecordingNode>("d");
  root->PushBack(a);
  root->PushBack(c);
  root->Insert(1, b);
  root->Insert(99, d);  // clamped to the end
  EXPECT_EQ(ChildIDs(*root), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(b->GetParent(), root.get());

  EXPECT_TRUE(root->Move(a.get(), 2));
  EXPECT_EQ(ChildIDs(*root), (std::vector<std::string>{"b", "c", "a", "d"}));
  EXPECT_TRUE(root->Move(d.get(), 0));
  EXPECT_EQ(ChildIDs(*root), (std::vector<std::string>{"d", "b", "c", "a"}));
  // Re-inserting a child into its own container moves it.
  root->Insert(4, d);
  EXPECT_EQ(ChildIDs(*root), (std::vector<std::string>{"b", "c", "a", "d"}));

  // Adding to another container takes it out of the first.
  auto other = std::make_shared<RecordingNode>("other");
  other->PushBack(c);
  EXPECT_EQ(ChildIDs(*root), (std::vector<std::string>{"b", "a", "d"}));
  EXPECT_EQ(c->GetParent(), other.get());
  root->PushBack(other);

  EXPECT_EQ(root->Find("c"), c.get());           // recursive
  EXPECT_EQ(root->Find("c", false), nullptr);    // children only
  EXPECT_EQ(root->IndexOf(a.get()), 1);
  EXPECT_EQ(root->IndexOf(c.get()), -1);
  EXPECT_EQ(root->GetChild(17), nullptr);

  EXPECT_EQ(root->Remove(a.get()), a);
  EXPECT_EQ(a->GetParent(), nullptr);
  EXPECT_EQ(root->Remove(a.get()), nullptr);
  EXPECT_FALSE(root->Move(a.get(), 0));
  // A removed node lives on while someone holds it; the container's end frees the rest.
  root.reset();
  EXPECT_EQ(b->GetParent(), nullptr);
  EXPECT_EQ(other->GetParent(), nullptr);
  EXPECT_EQ(other->GetChildCount(), 1u);
}

// Whether a node is a native window of its own, shown or not.
bool HasWindowOfItsOwn(const kivui::UI_Node* node) {
  const auto windows = testing_ui::LiveNodeWindows();
  return std::any_of(windows.begin(), windows.end(), [&](const auto& w) { return w.node == node; });
}

// Nodes taken out of containers under a keeping container wait inside it instead of
// becoming windows of their own: when removed, when moved between containers, when a tree
// in no container (a frame being built) takes one, and when their container goes; they are
// windows of their own again once the keeper goes.
TEST(NodeTree, RemovedNodesWaitInTheContainerThatKeepsThem) {
  auto keeper = std::make_shared<RecordingNode>("keeper");
  keeper->SetKeepsRemovedNodes(true);
  auto box = std::make_shared<RecordingNode>("box");
  auto leaf = std::make_shared<RecordingNode>("leaf");
  keeper->PushBack(box);
  box->PushBack(leaf);
  box->Remove(leaf.get());
  EXPECT_FALSE(HasWindowOfItsOwn(leaf.get()));

  auto fresh = std::make_shared<RecordingNode>("fresh");
  auto inner = std::make_shared<RecordingNode>("inner");
  fresh->PushBack(inner);
  EXPECT_TRUE(HasWindowOfItsOwn(fresh.get())) << "a tree that took no kept node is left alone";
  inner->PushBack(leaf);
  EXPECT_FALSE(HasWindowOfItsOwn(fresh.get()));
  EXPECT_EQ(leaf->GetParent(), inner.get());
  inner.reset();
  fresh.reset();  // its children wait in the keeper as it goes
  EXPECT_EQ(leaf->GetParent(), nullptr);
  EXPECT_FALSE(HasWindowOfItsOwn(leaf.get()));

  // A plain container does not keep what leaves it.
  auto plain = std::make_shared<RecordingNode>("plain");
  auto loose = std::make_shared<RecordingNode>("loose");
  plain->PushBack(loose);
  plain->Remove(loose.get());
  EXPECT_TRUE(HasWindowOfItsOwn(loose.get()));

  keeper.reset();
  box.reset();
  EXPECT_TRUE(HasWindowOfItsOwn(leaf.get())) << "the keeper's end lets its waiting nodes go whole";
  leaf->SetFrame({0, 0, 20, 10});
  EXPECT_EQ(leaf->GetLocalBounds().width, 20.0f);
}

TEST(NodeTree, VisibilityFollowsEveryContainerAbove) {
  auto window = MakeWindow("vis", {100, 100, 300, 200});
  auto panel = std::make_shared<RecordingNode>("panel");
  auto leaf = std::make_shared<RecordingNode>("leaf");
  window->PushBack(panel);
  panel->PushBack(leaf);
  EXPECT_TRUE(leaf->UI_AreAllParentsVisible());
  panel->UI_Show(false);
  EXPECT_TRUE(leaf->IsShown());
  EXPECT_FALSE(leaf->UI_AreAllParentsVisible());
  panel->UI_Show(true);
  window->UI_Show(false);
  EXPECT_FALSE(leaf->UI_AreAllParentsVisible());
}

TEST(NodeTree, CoordinatesConvertAcrossNestedNodesAndWindows) {
  auto w1 = MakeWindow("w1", {100, 50, 400, 300});
  auto w2 = MakeWindow("w2", {600, 400, 200, 200});
  auto outer = std::make_shared<RecordingNode>("outer");
  auto inner = std::make_shared<RecordingNode>("inner");
  outer->SetFrame({10, 20, 300, 200});
  inner->SetFrame({5, 7, 50, 50});
  w1->PushBack(outer);
  outer->PushBack(inner);
  auto other = std::make_shared<RecordingNode>("other");
  other->SetFrame({30, 40, 100, 100});
  w2->PushBack(other);

  EXPECT_EQ(inner->UI_LocalToGlobal({1, 2}), (kivcore::Point{116, 79}));
  EXPECT_EQ(inner->UI_LocalToGlobalF({1.5f, 2.25f}), (PointF{116.5f, 79.25f}));
  EXPECT_EQ(inner->UI_GlobalToLocal({116, 79}), (kivcore::Point{1, 2}));
  EXPECT_EQ(inner->UI_GlobalToLocalF({116.5f, 79.25f}), (PointF{1.5f, 2.25f}));
  // From a node of one window to a node of another.
  EXPECT_EQ(inner->ConvertPointTo({0, 0}, *other), (PointF{115 - 630, 77 - 440}));
  EXPECT_EQ(inner->LocalRectToGlobalF({0, 0, 50, 50}), (kivcore::RectF{115, 77, 50, 50}));
  EXPECT_EQ(inner->GetWindow(), w1.get());
  EXPECT_EQ(inner->GetRoot(), w1.get());
}

TEST(NodeFocus, FocusMovesBetweenNodesAndGroupedChangesAreToldOnceAtTheEnd) {
  auto window = MakeWindow("focus", {0, 0, 300, 200});
  auto a = std::make_shared<RecordingNode>("a"), b = std::make_shared<RecordingNode>("b");
  auto c = std::make_shared<RecordingNode>("c");
  for (auto& n : {a, b, c}) window->PushBack(n);
  auto& manager = UI_NodeManager::Get();

  a->UI_GainKeyboardFocus();
  EXPECT_TRUE(a->UI_HasKeyboardFocus());
  b->UI_GainKeyboardFocus();
  EXPECT_EQ(manager.GetFocusNode(), b.get());
  EXPECT_EQ(a->log.focus, (std::vector<bool>{true, false}));
  EXPECT_EQ(b->log.focus, (std::vector<bool>{true}));

  {
    kivui::UI_NodeManager::FocusChangeGroup group;
    c->UI_GainKeyboardFocus();
    a->UI_GainKeyboardFocus();
    {
      kivui::UI_NodeManager::FocusChangeGroup nested;
      c->UI_GainKeyboardFocus();
    }
    // Nothing is told while the outer group is open.
    EXPECT_TRUE(c->log.focus.empty());
    EXPECT_EQ(b->log.focus.size(), 1u);
  }
  EXPECT_EQ(b->log.focus, (std::vector<bool>{true, false}));
  EXPECT_EQ(c->log.focus, (std::vector<bool>{true}));
  EXPECT_EQ(a->log.focus.size(), 2u);  // a held it only inside the group

  {
    // Focus that ends where it started is no change at all.
    kivui::UI_NodeManager::FocusChangeGroup group;
    a->UI_GainKeyboardFocus();
    c->UI_GainKeyboardFocus();
  }
  EXPECT_EQ(c->log.focus.size(), 1u);

  // Hiding the focused node takes the focus away.
  c->UI_Show(false);
  EXPECT_EQ(manager.GetFocusNode(), nullptr);
  EXPECT_EQ(c->log.focus.back(), false);
}

TEST(NodeTimers, RepeatingAndSingleShotTimersFireByID) {
  auto node = std::make_shared<RecordingNode>("timers");
  node->UI_StartTimer(7, 5, true);
  node->UI_StartTimer(9, 5, false);
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return node->log.timers.size() >= 5; }));
  EXPECT_EQ(std::count(node->log.timers.begin(), node->log.timers.end(), 9), 1);
  EXPECT_FALSE(node->IsTimerRunning(9));
  EXPECT_TRUE(node->IsTimerRunning(7));
  node->UI_StopTimer(7);
  EXPECT_FALSE(node->IsTimerRunning(7));
  const auto fired = node->log.timers.size();
  testing_ui::ProcessEvents(30);
  EXPECT_EQ(node->log.timers.size(), fired);
}

TEST(NodeCapture, EndedCapturesAreQuietAndLostOnesAreReported) {
  auto window = MakeWindow("capture", {0, 0, 300, 200});
  auto a = std::make_shared<RecordingNode>("a"), b = std::make_shared<RecordingNode>("b");
  window->PushBack(a);
  window->PushBack(b);
  auto& manager = UI_NodeManager::Get();
  std::vector<kivui::UI_Node*> reported;
  auto connection = manager.CaptureLost().connect([&](kivui::UI_Node* n) { reported.push_back(n); });

  manager.BeginCapture(a.get());
  EXPECT_EQ(manager.GetCaptureNode(), a.get());
  manager.EndCapture(b.get());  // not the holder: no effect
  EXPECT_EQ(manager.GetCaptureNode(), a.get());
  manager.EndCapture(a.get());
  EXPECT_EQ(manager.GetCaptureNode(), nullptr);
  EXPECT_EQ(a->log.captureLost, 0);

  // Taken by another node.
  manager.BeginCapture(a.get());
  manager.BeginCapture(b.get());
  EXPECT_EQ(a->log.captureLost, 1);
  // Taken by the system.
  manager.LoseCapture();
  EXPECT_EQ(b->log.captureLost, 1);
  // Hiding the holder's container.
  manager.BeginCapture(a.get());
  window->UI_Show(false);
  EXPECT_EQ(a->log.captureLost, 2);
  EXPECT_EQ(reported, (std::vector<kivui::UI_Node*>{a.get(), b.get(), a.get()}));
  EXPECT_EQ(manager.GetCaptureNode(), nullptr);
  connection.disconnect();
}

TEST(NodeInput, EventsAtAGlobalPointReachTheNodeThereAndBubbleUpUnhandled) {
  auto window = MakeWindow("input", {200, 100, 400, 300});
  auto panel = std::make_shared<RecordingNode>("panel", true);
  auto button = std::make_shared<RecordingNode>("button", false);  // lets events bubble
  panel->SetFrame({50, 50, 200, 150});
  button->SetFrame({10, 10, 40, 20});
  window->PushBack(panel);
  panel->PushBack(button);
  testing_ui::ProcessEvents();

  testing_ui::MousePressAt({200 + 50 + 10 + 5, 100 + 50 + 10 + 6});
  testing_ui::MouseMoveTo({300, 200});  // outside the button: the press keeps it
  testing_ui::MouseReleaseAt({300, 200});
  // The pointer arrives (a hover move), presses, moves away and releases.
  const std::vector<kivui::MouseEvent::Action> expected{kivui::MouseEvent::kMove, kivui::MouseEvent::kDown,
                                                        kivui::MouseEvent::kMove, kivui::MouseEvent::kUp};
  EXPECT_EQ(button->log.Actions(), expected);
  EXPECT_EQ(panel->log.Actions(), expected);
  ASSERT_EQ(panel->log.mouse.size(), 4u);
  const auto& press = panel->log.mouse[1];
  EXPECT_EQ(panel->log.mouseTargets[1], button.get());
  EXPECT_TRUE(panel->log.mouse[2].IsButtonDown(kivui::MouseEvent::kPrimary));
  EXPECT_EQ(press.button, kivui::MouseEvent::kPrimary);
  EXPECT_EQ(press.clickCount, 1);
  EXPECT_EQ(press.LocalPoint(), (kivcore::Point{15, 16}));  // in the panel's coordinates
  EXPECT_EQ(press.GlobalPoint(), (kivcore::Point{265, 166}));
  EXPECT_EQ(button->log.mouse[1].LocalPoint(), (kivcore::Point{5, 6}));
  EXPECT_TRUE(window->log.mouse.empty());  // the panel handled it

  // A double click reports the second press with a click count of 2.
  panel->log = {};
  testing_ui::DoubleClickAt({200 + 150, 100 + 150});
  ASSERT_FALSE(panel->log.mouse.empty());
  bool sawDouble = false;
  for (const auto& m : panel->log.mouse) sawDouble |= m.IsDoubleClick();
  EXPECT_TRUE(sawDouble);
}

TEST(NodeInput, ACapturingNodeGetsEventsFromAnywhere) {
  auto window = MakeWindow("grab", {0, 0, 400, 300});
  auto left = std::make_shared<RecordingNode>("left"), right = std::make_shared<RecordingNode>("right");
  left->SetFrame({0, 0, 200, 300});
  right->SetFrame({200, 0, 200, 300});
  window->PushBack(left);
  window->PushBack(right);
  testing_ui::ProcessEvents();
  UI_NodeManager::Get().BeginCapture(left.get());
  testing_ui::MouseMoveTo({300, 100});
  UI_NodeManager::Get().EndCapture(left.get());
  ASSERT_FALSE(left->log.mouse.empty());
  EXPECT_EQ(left->log.mouse.back().GlobalPoint(), (kivcore::Point{300, 100}));
  EXPECT_EQ(left->log.mouse.back().LocalPoint(), left->UI_GlobalToLocal({300, 100}));
  EXPECT_TRUE(right->log.mouse.empty());
}

TEST(NodeInput, KeysGoToTheFocusedNodeAndBubble) {
  auto window = MakeWindow("keys", {0, 0, 300, 200});
  auto outer = std::make_shared<RecordingNode>("outer", true);
  auto inner = std::make_shared<RecordingNode>("inner", false);
  window->PushBack(outer);
  outer->PushBack(inner);
  inner->UI_GainKeyboardFocus();
  testing_ui::KeyClick(kivui::kKeyEscape);
  testing_ui::KeyClick('A', kivui::kModShift);
  // Escape down and up; Shift down, A down and up, Shift up.
  ASSERT_EQ(outer->log.keys.size(), 6u);
  EXPECT_EQ(outer->log.keys[0].key, kivui::kKeyEscape);
  EXPECT_EQ(outer->log.keys[0].action, kivui::KeyboardEvent::kDown);
  EXPECT_EQ(outer->log.keys[1].action, kivui::KeyboardEvent::kUp);
  EXPECT_EQ(outer->log.keys[2].key, kivui::kKeyShift);
  EXPECT_EQ(outer->log.keys[3].key, 'A');
  EXPECT_EQ(outer->log.keys[3].modKeys, kivui::kModShift);
  EXPECT_EQ(inner->log.keys.size(), 6u);
}

}  // namespace
