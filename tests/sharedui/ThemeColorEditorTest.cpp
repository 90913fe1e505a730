// The theme colour editor driven through its own controls: theme files loaded, refused and
// reloaded; one colour overridden and flashed, as the tab well then draws it.
#include "workspace/WorkspaceTestSupport.h"

#include "../support/Wait.h"
#include "services/ui/controls/UI_Button.h"
#include "services/ui/controls/UI_StaticText.h"
#include "services/ui/controls/UI_TabWell.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/core/Error.h"
#include "services/ui/draw/Image.h"
#include "services/ui/draw/KeyframeTheme.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "services/ui/testing/Snapshot.h"
#include "sharedui/ThemeColorEditorPanel.h"
#include "sharedui/ThemeColorEditorPanel_TabCreator.h"
#include "sharedui/ThemeFiles.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace kivtest;
using kivui::Color;
using kivui::KeyframeTheme;
using kivworkspace::sharedui::ThemeColorEditorPanel;
namespace testing_ui = kivui::testing;

namespace {

std::vector<Color> AllColors() {
  std::vector<Color> colors;
  for (int i = 0; i < KeyframeTheme::Get().GetColorCount(); ++i) colors.push_back(KeyframeTheme::Get().GetColor(i));
  return colors;
}

struct ThemeEditor : WorkspaceFixture {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kiv-theme-" + std::to_string(::getpid()));
  ThemeColorEditorPanel* panel = nullptr;
  WorkspaceFrame* frame = nullptr;

  void SetUp() override {
    WorkspaceFixture::SetUp();
    std::filesystem::create_directories(dir);
    workspace->RegisterTabCreator(std::make_unique<kivworkspace::sharedui::ThemeColorEditorPanel_TabCreator>());
    frame = FrameWith({ThemeColorEditorPanel::kTabType, "A"});
    frame->BringTabToFront(0u);
    panel = dynamic_cast<ThemeColorEditorPanel*>(frame->GetTabPanel(0).get());
    testing_ui::ProcessEvents();
  }
  void TearDown() override {
    KeyframeTheme::Get().Reset();
    std::filesystem::remove_all(dir);
    WorkspaceFixture::TearDown();
  }

  template <typename T = kivui::UI_Node>
  T& Find(const char* id) {
    auto* node = dynamic_cast<T*>(panel->FindControl(id));
    EXPECT_TRUE(node) << id;
    return *node;
  }
  void Click(const char* id) { testing_ui::ClickNode(Find(id), {5, 5}); }
  // Types into a field and presses Return.
  void Enter(const char* id, const std::string& text) {
    auto& field = Find<kivui::UI_TextEdit>(id);
    field.UI_GainKeyboardFocus();
    field.SelectAll();
    testing_ui::TypeText(text);
    testing_ui::KeyClick(kivui::kKeyReturn);
  }
  std::filesystem::path Write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name) << text;
    return dir / name;
  }
  // Loads through the Load button and the file dialog; returns what the user was told.
  std::vector<kivui::Prompt> Load(const std::filesystem::path& file) {
    auto answers = testing_ui::ScriptedAnswers::Install();
    answers->Text(file.string()).Accept();
    Click("LoadThemeFileButton");
    return answers->GetAsked();
  }
  // The colour the tab well draws behind its tabs, read from a picture of it.
  Color TabWellBackground() {
    const auto png = dir / "well.png";
    auto& well = frame->GetTabWell();
    testing_ui::SaveSnapshotPNG(well, png.string());
    const kivui::Image image = kivui::Image::FromFile(png.string());
    return image.PixelAt(image.Width() - 40, image.Height() / 2);
  }
};

TEST_F(ThemeEditor, ABadThemeFileIsRefusedWithItsReasonAndChangesNothing) {
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"notxml.xml", "this is not XML <"},
      {"other.xml", "<Theme/>"},
      {"unknown.xml", R"(<KeyframeTheme><Color name="panel" rgb="#101010"/><Color name="sky" rgb="#000000"/></KeyframeTheme>)"},
      {"badrgb.xml", R"(<KeyframeTheme><Color name="panel" rgb="red"/></KeyframeTheme>)"},
      {"mismatch.xml", R"(<KeyframeTheme><Color index="2" name="panel" rgb="#101010"/></KeyframeTheme>)"},
      {"empty.xml", "<KeyframeTheme/>"},
      {"badindex.xml", R"(<KeyframeTheme><Color index="2x" rgb="#101010"/></KeyframeTheme>)"},
  };
  const std::vector<std::string> reasons = {"it is not XML", "has no KeyframeTheme element", "colour 2: no theme colour sky",
                                            "rgb \"red\" is not #rrggbb", "index 2 is not the index of panel", "sets no colour",
                                            "no theme colour index 2x"};
  const auto before = AllColors();
  for (std::size_t i = 0; i < bad.size(); ++i) {
    const auto asked = Load(Write(bad[i].first, bad[i].second));
    ASSERT_EQ(asked.size(), 2u) << bad[i].first;
    EXPECT_EQ(asked[1].kind, kivui::Prompt::kCaution);
    EXPECT_NE(asked[1].message.find(reasons[i]), std::string::npos) << asked[1].message;
    EXPECT_EQ(AllColors(), before) << bad[i].first << " changed the theme";
    EXPECT_TRUE(panel->GetThemeFilePath().empty());
  }

  // Other callers get the library's error, with its category and code.
  for (const auto& [file, reason] : {std::pair{dir / "other.xml", "it has no KeyframeTheme element"},
                                     std::pair{dir / "missing.xml", "it cannot be read"}}) {
    try {
      kivworkspace::sharedui::ReloadThemeFile(file.u16string());
      ADD_FAILURE() << file << " was accepted";
    } catch (const kivcore::config::Error& e) {
      EXPECT_EQ(std::pair(e.Category(), e.Code()), std::pair(KeyframeTheme::kErrorCategory, KeyframeTheme::kInvalidThemeFileError));
      const std::string prefix = "The theme file " + file.string() + " cannot be used: " + reason;
      EXPECT_EQ(std::string(e.what()).substr(0, prefix.size()), prefix);
    }
  }
  EXPECT_EQ(AllColors(), before);
}

// An index the field cannot hold as a colour's number must not wrap round to one.
TEST_F(ThemeEditor, AnIndexThatNamesNoColourEditsNone) {
  const auto before = AllColors();
  Click("GrayscaleRadioButton");
  Enter("VHotText", "200");
  for (const char* text : {"nan", "inf", "-inf", "1e30", "4294967297", "-4294967296"}) {
    Enter("TextColorIndexHotText", text);
    EXPECT_EQ(panel->GetColorIndex(), -1) << text;
    EXPECT_EQ(Find<kivui::UI_StaticText>("ColorNameStaticText").GetText(), "no such colour") << text;
    auto answers = testing_ui::ScriptedAnswers::Install();
    answers->Accept();
    Click("OverrideCheckbox");
    ASSERT_EQ(answers->GetAsked().size(), 1u) << text;
    EXPECT_EQ(answers->GetAsked()[0].message.find(std::string("There is no theme colour ") + text + ":"), 0u);
    Click("FlashThemeFileButton");
    EXPECT_FALSE(panel->IsFlashing()) << text;
    EXPECT_EQ(AllColors(), before) << text;
  }

  // A colour field that holds no finite number is no colour either.
  Enter("TextColorIndexHotText", std::to_string(KeyframeTheme::FindColor("header")));
  ASSERT_FALSE(Find<kivui::UI_Button>("OverrideCheckbox").IsSelected());
  Enter("VHotText", "nan");
  auto answers = testing_ui::ScriptedAnswers::Install();
  answers->Accept();
  Click("OverrideCheckbox");
  ASSERT_EQ(answers->GetAsked().size(), 1u);
  EXPECT_EQ(answers->GetAsked()[0].message, "Every field of the colour needs a number.");
  EXPECT_EQ(AllColors(), before);
}

TEST_F(ThemeEditor, LoadsReloadsAndOverridesWhatTheTabWellDraws) {
  const int header = KeyframeTheme::FindColor("header");
  const auto file = Write("mine.xml", R"(<KeyframeTheme><Color name="header" rgb="#203040"/></KeyframeTheme>)");
  EXPECT_EQ(Load(file).size(), 1u) << "no complaint";
  EXPECT_EQ(kivcore::UTF16to8(panel->GetThemeFilePath()), file.string());
  EXPECT_EQ(Find<kivui::UI_StaticText>("ThemeFilePathStaticText").GetText(), file.string());
  EXPECT_EQ(kivui::ThemeColors::Current().header, Color::RGB(0x20, 0x30, 0x40));
  EXPECT_EQ(TabWellBackground(), Color::RGB(0x20, 0x30, 0x40));

  // Edited on disk, then reloaded.
  Write("mine.xml", R"(<KeyframeTheme><Color name="header" rgb="#405060"/></KeyframeTheme>)");
  Click("ReloadThemeFileButton");
  EXPECT_EQ(TabWellBackground(), Color::RGB(0x40, 0x50, 0x60));

  // Overridden as a colour: pure red, from hue, saturation and brightness.
  Enter("TextColorIndexHotText", std::to_string(header));
  EXPECT_EQ(Find<kivui::UI_StaticText>("ColorNameStaticText").GetText(), "header");
  Click("ColorRadioButton");
  for (auto [field, value] : {std::pair{"HHotText", "0"}, {"SHotText", "100"}, {"BHotText", "100"}, {"AHotText", "255"}})
    Enter(field, value);
  EXPECT_EQ(TabWellBackground(), Color::RGB(0x40, 0x50, 0x60)) << "not yet overriding";
  Click("OverrideCheckbox");
  EXPECT_EQ(TabWellBackground(), Color::RGB(255, 0, 0));
  // As a grey level, committed with Return.
  Click("GrayscaleRadioButton");
  EXPECT_FALSE(Find("HHotText").IsEnabled());
  Enter("VHotText", "128");
  EXPECT_EQ(TabWellBackground(), Color::RGB(128, 128, 128));
  Click("OverrideCheckbox");
  EXPECT_EQ(TabWellBackground(), Color::RGB(0x40, 0x50, 0x60)) << "the override is cleared";
}

TEST_F(ThemeEditor, FlashingAColourShowsItAndPutsItBack) {
  const int accent = KeyframeTheme::FindColor("accent");
  const Color before = KeyframeTheme::Get().GetColor(accent);
  Enter("TextColorIndexHotText", std::to_string(accent) + ".4");
  EXPECT_EQ(panel->GetColorIndex(), accent) << "the nearest whole number";
  Click("FlashThemeFileButton");
  EXPECT_TRUE(panel->IsFlashing());
  EXPECT_EQ(kivui::ThemeColors::Current().accent, Color::RGB(255, 0, 255));
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return !panel->IsFlashing(); }, 5000));
  EXPECT_EQ(kivui::ThemeColors::Current().accent, before);

  // An override made while the colour flashes is what it keeps afterwards.
  Click("FlashThemeFileButton");
  Click("GrayscaleRadioButton");
  Enter("VHotText", "200");
  Click("OverrideCheckbox");
  EXPECT_TRUE(panel->IsFlashing());
  ASSERT_TRUE(testing_ui::WaitUntil([&] { return !panel->IsFlashing(); }, 5000));
  EXPECT_EQ(kivui::ThemeColors::Current().accent, Color::RGB(200, 200, 200));

  for (auto [text, index] : {std::pair{"2.5", 3}, {"-2.5", -3}, {"2.49", 2}}) {
    Find<kivui::UI_TextEdit>("TextColorIndexHotText").SetText(text);
    EXPECT_EQ(panel->GetColorIndex(), index) << text;
  }
}

}  // namespace
