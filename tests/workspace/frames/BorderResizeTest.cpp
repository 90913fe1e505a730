// A border element's resize handle dragged with the mouse, and the minimized state.
#include "workspace/WorkspaceTestSupport.h"

#include "services/ui/node/UI_NodeManager.h"
#include "workspace/frames/WorkspaceBorderElement.h"
#include "workspace/frames/WorkspaceBorderElementResizeHandle.h"
#include "workspace/frames/WorkspaceBorderElementResizeHandleTarget.h"

namespace kivtest {
namespace {

namespace ui_testing = kivui::testing;

struct Resizes : WorkspaceBorderElementResizeHandleTarget {
  std::vector<float> amounts;
  void ResizeBorderElement(float amount) override { amounts.push_back(amount); }
};

struct BorderHandle : WorkspaceFixture {
  Resizes target;
  std::shared_ptr<WorkspaceBorderElementResizeHandle> handle =
      std::make_shared<WorkspaceBorderElementResizeHandle>(&target);
  kivcore::Point at;

  void SetUp() override {
    WorkspaceFixture::SetUp();
    handle->SetFrame({100, 200, 300, 6});
    main->PushBack(handle);
    ui_testing::ProcessEvents();
    at = handle->UI_LocalToGlobal({150, 3});
  }
};

// Moves of a pixel add up; each resize is by the whole distance since the last one.
TEST_F(BorderHandle, DraggingResizesVerticallyOncePastAPixel) {
  ui_testing::MousePressAt(at);
  ASSERT_TRUE(handle->IsPressed());
  ui_testing::MouseMoveTo({at.x, at.y + 1});
  EXPECT_TRUE(target.amounts.empty());
  ui_testing::MouseMoveTo({at.x + 40, at.y + 2});
  ui_testing::MouseMoveTo({at.x + 40, at.y - 10});
  ui_testing::MouseReleaseAt({at.x + 40, at.y - 10});
  const float scale = main->GetRecommendedScaleFactor();
  EXPECT_EQ(target.amounts, (std::vector<float>{2 / scale, -12 / scale}));
  EXPECT_FALSE(handle->IsPressed());
  EXPECT_EQ(kivui::UI_NodeManager::Get().GetCaptureNode(), nullptr);
}

// With its flag set the handle resizes nothing.
TEST_F(BorderHandle, AFlaggedHandleDoesNotResize) {
  handle->SetFlag(true);
  ui_testing::DragFromTo(at, {at.x, at.y + 30}, 3);
  EXPECT_TRUE(target.amounts.empty());
  EXPECT_FALSE(handle->IsPressed());
}

struct Element : WorkspaceBorderElement {
  bool resizeable = false;
  bool IsResizeable() const override { return resizeable; }
};

TEST(BorderElements, OnlyAResizeableElementCanBeMinimized) {
  Element element;
  element.SetIsMinimized(true);
  EXPECT_FALSE(element.GetIsMinimized());
  element.resizeable = true;
  EXPECT_FALSE(element.GetIsMinimized()) << "the earlier request was not stored";
  element.SetIsMinimized(true);
  EXPECT_TRUE(element.GetIsMinimized());
  element.resizeable = false;
  EXPECT_FALSE(element.GetIsMinimized());
}

}  // namespace
}  // namespace kivtest
