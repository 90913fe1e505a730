#include "sharedui/ThemeColorEditorPanel.h"

#include "services/core/Localizer.h"
#include "services/core/Strings.h"
#include "services/ui/controls/UI_Button.h"
#include "services/ui/controls/UI_StaticText.h"
#include "services/ui/controls/UI_TextEdit.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/KeyframeTheme.h"
#include "services/ui/draw/ThemeColors.h"
#include "sharedui/ThemeColorEditorPanel_TabCreator.h"
#include "sharedui/ThemeFiles.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace kivworkspace::sharedui {
namespace {

using kivui::UI_Button;
using kivui::UI_StaticText;
using kivui::UI_TextEdit;

std::string Text(std::string_view key) { return kivcore::config::Localizer::Get().LocalizeUTF8(key); }

constexpr float kRow = 28, kMargin = 8, kLabel = 28, kField = 64;

// The value and colour fields: node-ID stem, label, and the value shown for a colour.
struct Field {
  const char* stem;
  const char* label;
};
constexpr Field kFields[] = {{"V", "V"}, {"H", "H"}, {"S", "S"}, {"B", "B"}, {"A", "A"}};

std::string Number(float value) {
  char text[16];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

template <typename T>
T* Control(const kivui::UI_Container& root, const std::string& id) {
  return dynamic_cast<T*>(root.Find(id));
}

}  // namespace

ThemeColorEditorPanel_TabCreator::ThemeColorEditorPanel_TabCreator() : workspace::TabCreator(ThemeColorEditorPanel::kTabType) {}

workspace::TabPanelPtr ThemeColorEditorPanel_TabCreator::CreateTabPanel(workspace::Workspace* workspace,
                                                                      workspace::WorkspaceFrameBase* frame) const {
  return std::make_shared<ThemeColorEditorPanel>(workspace, frame);
}

ThemeColorEditorPanel::ThemeColorEditorPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame)
    : TabPanel(workspace, frame, true, kTabType,
               kivcore::config::Localizer::Get().Localize("$$$/kivworkspace/sharedui/ThemeColorEditor/Title=Theme Color Test")),
      root_(std::make_shared<kivui::UI_Container>("ThemeColorEditor")) {
  SetShowCloseControl();
  PushBack(root_);
  const auto add = [this](std::shared_ptr<kivui::UI_Node> node, const char* id) {
    node->SetNodeID(id);
    root_->PushBack(node);
    return node;
  };
  const auto button = [&](const char* id, const char* text, std::function<void()> click, bool toggle = false) {
    auto b = std::make_shared<UI_Button>(text);
    b->SetToggle(toggle);
    b->onClick = std::move(click);
    add(b, id);
  };
  const auto field = [&](const char* id) {
    auto f = std::make_shared<UI_TextEdit>(false);
    add(f, id);
    return f;
  };
  button("LoadThemeFileButton", "Load...", [this] { LoadButtonChanged(); });
  button("ReloadThemeFileButton", "Reload", [this] { ReloadButtonChanged(); });
  add(std::make_shared<UI_StaticText>("No theme file loaded"), "ThemeFilePathStaticText");
  add(std::make_shared<UI_StaticText>("Colour index"), "TextColorIndexStaticText");
  auto index = field("TextColorIndexHotText");
  index->SetText("0");
  index->onReturnPressed = [this] { ColorIndexHotTextChanged(); };
  add(std::make_shared<UI_StaticText>(), "ColorNameStaticText");
  button("FlashThemeFileButton", "Flash", [this] { FlashButtonChanged(); });
  button("OverrideCheckbox", "Override", [this] { OverrideCheckboxChanged(); }, true);
  auto group = std::make_shared<kivui::UI_Container>("ColorTypeRadioGroup");
  root_->PushBack(group);
  for (auto [id, text, color] : {std::tuple{"GrayscaleRadioButton", "Grey", false}, std::tuple{"ColorRadioButton", "Colour", true}}) {
    auto radio = std::make_shared<UI_Button>(text);
    radio->SetNodeID(id);
    radio->SetToggle(true);
    radio->onClick = [this, color = color] { ColorRadioButtonChanged(color); };
    group->PushBack(radio);
  }
  for (const Field& f : kFields) {
    add(std::make_shared<UI_StaticText>(f.label), (std::string(f.stem) + "StaticText").c_str());
    field((std::string(f.stem) + "HotText").c_str())->onReturnPressed = [this] { ColorHotTextChanged(1); };
  }
  button("ChangeFontButton", "Font...", [this] { ChangeFontButtonChanged(); });
  ColorRadioButtonChanged(true);
  ColorIndexHotTextChanged();  // the fields show colour 0
}

ThemeColorEditorPanel::~ThemeColorEditorPanel() {
  if (IsFlashing()) GetEditableTheme().SetOverride(flashIndex_, flashRestore_);
}

kivui::UI_Node* ThemeColorEditorPanel::FindControl(const char* nodeId) const { return root_->Find(nodeId); }

int ThemeColorEditorPanel::GetColorIndex() const {
  const auto* field = Control<UI_TextEdit>(*root_, "TextColorIndexHotText");
  const auto value = kivcore::StringToNumber<double>(field->GetText());
  // "nan", "inf" and numbers beyond an int ("1e30", "4294967297") name no colour: they must
  // not wrap round to one.
  if (!value || !std::isfinite(*value)) return -1;
  const double nearest = std::round(*value);
  if (nearest < double(std::numeric_limits<int>::min()) || nearest > double(std::numeric_limits<int>::max())) return -1;
  return int(nearest);
}

bool ThemeColorEditorPanel::IsFlashing() const { return flashIndex_ >= 0; }

void ThemeColorEditorPanel::ShowError(const std::string& message) {
  kivui::ShowCaution(Text("$$$/kivworkspace/sharedui/ThemeColorEditor/Title=Theme Color Test"), message, GetWindow());
}

void ThemeColorEditorPanel::LoadButtonChanged() {
  const kivcore::UTF16String path = LoadThemeFileFromDialog(root_.get());
  if (!path.empty()) {
    path_ = path;
    Control<UI_StaticText>(*root_, "ThemeFilePathStaticText")->SetText(kivcore::UTF16to8(path));
  }
  ColorIndexHotTextChanged();  // the fields show the loaded colour
}

void ThemeColorEditorPanel::ReloadButtonChanged() {
  if (!path_.empty()) {
    try {
      ReloadThemeFile(path_);
    } catch (const std::exception& e) {
      ShowError(e.what());
    }
  }
  ColorIndexHotTextChanged();
}

void ThemeColorEditorPanel::ColorRadioButtonChanged(bool color) {
  Control<UI_Button>(*root_, "ColorRadioButton")->SetSelected(color);
  Control<UI_Button>(*root_, "GrayscaleRadioButton")->SetSelected(!color);
  UpdateControls();
}

void ThemeColorEditorPanel::OverrideCheckboxChanged() {
  UpdateCurrentColorTrack();
  UpdateControls();
}

void ThemeColorEditorPanel::ColorHotTextChanged(int changeKind) {
  if (changeKind == 1) UpdateCurrentColorTrack();
}

void ThemeColorEditorPanel::ColorIndexHotTextChanged() {
  const int index = GetColorIndex();
  auto& theme = GetEditableTheme();
  if (index >= 0 && index < theme.GetColorCount()) {
    // A flashing colour shows what it will be again after the flash.
    const bool flashing = IsFlashing() && index == flashIndex_;
    const std::optional<kivui::Color> override = flashing ? flashRestore_ : theme.GetOverride(index);
    Control<UI_Button>(*root_, "OverrideCheckbox")->SetSelected(override.has_value());
    const kivui::Color c = override ? *override : theme.GetBaseColor(index);
    const kivui::utility::HSB hsb = kivui::utility::ColorToHSB(c);
    const float grey = std::round((float(c.r) + float(c.g) + float(c.b)) / 3);
    const float values[] = {grey, hsb.hue, hsb.saturation, hsb.brightness, float(c.a)};
    for (std::size_t i = 0; i < std::size(kFields); ++i)
      Control<UI_TextEdit>(*root_, std::string(kFields[i].stem) + "HotText")->SetText(Number(values[i]));
  }
  UpdateControls();
}

void ThemeColorEditorPanel::FlashButtonChanged() { FlashColorIndex(GetColorIndex()); }

void ThemeColorEditorPanel::ChangeFontButtonChanged() {
  const auto family = kivui::SimpleInputBox(Text("$$$/kivworkspace/sharedui/ThemeColorEditor/ChangeFont=Change Font"),
                                            Text("$$$/kivworkspace/sharedui/ThemeColorEditor/FontFamily=The UI font's family:"),
                                            kivui::Font::GetUIFamily(), GetWindow());
  if (!family || family->empty()) return;
  kivui::Font::SetUIFamily(*family);
  GetEditableTheme().ThemeChanged()();  // every window redraws with the new font
}

std::optional<kivui::Color> ThemeColorEditorPanel::ColorFromFields() const {
  double v[std::size(kFields)];
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    const auto value = kivcore::StringToNumber<double>(Control<UI_TextEdit>(*root_, std::string(kFields[i].stem) + "HotText")->GetText());
    if (!value || !std::isfinite(*value)) return std::nullopt;
    v[i] = *value;
  }
  const auto byte = [](double x) { return std::uint8_t(std::lround(std::clamp(x, 0.0, 255.0))); };
  if (Control<UI_Button>(*root_, "ColorRadioButton")->IsSelected())
    return kivui::utility::ColorFromHSB(float(v[1]), float(v[2]), float(v[3]), byte(v[4]));
  return kivui::Color{byte(v[0]), byte(v[0]), byte(v[0]), byte(v[4])};
}

void ThemeColorEditorPanel::UpdateCurrentColorTrack() {
  const int index = GetColorIndex();
  auto& theme = GetEditableTheme();
  if (index < 0 || index >= theme.GetColorCount())
    return ShowError("There is no theme colour " + Control<UI_TextEdit>(*root_, "TextColorIndexHotText")->GetText() +
                     ": the index goes from 0 to " + std::to_string(theme.GetColorCount() - 1) + ".");
  std::optional<kivui::Color> color;
  if (Control<UI_Button>(*root_, "OverrideCheckbox")->IsSelected()) {
    color = ColorFromFields();
    if (!color) return ShowError("Every field of the colour needs a number.");
  }
  if (IsFlashing() && index == flashIndex_) {
    flashRestore_ = color;  // the flash ends with the user's edit
  } else {
    theme.SetOverride(index, color);
  }
}

void ThemeColorEditorPanel::FlashColorIndex(int index) {
  auto& theme = GetEditableTheme();
  if (index < 0 || index >= theme.GetColorCount() || IsFlashing()) return;
  flashIndex_ = index;
  flashStep_ = 0;
  flashRestore_ = theme.GetOverride(index);
  UI_StartTimer(kFlashTimer, kFlashIntervalMs);
  UI_DoTimerNotify(kFlashTimer);
}

void ThemeColorEditorPanel::UI_DoTimerNotify(int id) {
  if (id != kFlashTimer || !IsFlashing()) return;
  auto& theme = GetEditableTheme();
  if (flashStep_ == kFlashSteps) {
    UI_StopTimer(kFlashTimer);
    theme.SetOverride(flashIndex_, flashRestore_);
    flashIndex_ = -1;
    return;
  }
  // Magenta and green in turn: neither is a theme colour, so the places stand out.
  theme.SetOverride(flashIndex_, flashStep_++ % 2 == 0 ? kivui::Color::RGB(255, 0, 255) : kivui::Color::RGB(0, 255, 0));
}

void ThemeColorEditorPanel::UpdateControls() {
  const bool color = Control<UI_Button>(*root_, "ColorRadioButton")->IsSelected();
  for (const Field& f : kFields) {
    const bool applies = std::string(f.stem) == "A" || (std::string(f.stem) == "V") != color;
    Control<UI_TextEdit>(*root_, std::string(f.stem) + "HotText")->SetEnabled(applies);
  }
  Control<UI_Button>(*root_, "ReloadThemeFileButton")->SetEnabled(!path_.empty());
  const int index = GetColorIndex();
  const auto& names = kivui::KeyframeTheme::GetColorNames();
  Control<UI_StaticText>(*root_, "ColorNameStaticText")
      ->SetText(index >= 0 && index < int(names.size()) ? names[std::size_t(index)] : "no such colour");
}

void ThemeColorEditorPanel::UI_SizeChanged(const kivcore::RectF& b) {
  TabPanel::UI_SizeChanged(b);
  root_->SetFrame({0, 0, b.width, b.height});
  const auto place = [this](const std::string& id, float x, float row, float w) {
    if (kivui::UI_Node* n = root_->Find(id)) n->SetFrame({x, kMargin + row * kRow, w, kRow - 6});
  };
  const float wide = std::max(80.0f, b.width - 2 * kMargin);
  place("LoadThemeFileButton", kMargin, 0, 70);
  place("ReloadThemeFileButton", kMargin + 76, 0, 70);
  place("ThemeFilePathStaticText", kMargin, 1, wide);
  place("TextColorIndexStaticText", kMargin, 2, 80);
  place("TextColorIndexHotText", kMargin + 84, 2, 48);
  place("ColorNameStaticText", kMargin + 138, 2, 120);
  place("FlashThemeFileButton", kMargin + 262, 2, 60);
  place("OverrideCheckbox", kMargin, 3, 80);
  place("ColorTypeRadioGroup", kMargin + 86, 3, 136);
  root_->Find("GrayscaleRadioButton")->SetFrame({0, 0, 64, kRow - 6});
  root_->Find("ColorRadioButton")->SetFrame({70, 0, 64, kRow - 6});
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    const float x = kMargin + float(i % 3) * (kLabel + kField + 12);
    const float row = 4 + float(i / 3);
    place(std::string(kFields[i].stem) + "StaticText", x, row, kLabel);
    place(std::string(kFields[i].stem) + "HotText", x + kLabel, row, kField);
  }
  place("ChangeFontButton", kMargin, 6, 80);
}

void ThemeColorEditorPanel::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  d.FillRect(GetLocalBounds(), kivui::ThemeColors::Current().panel);
  // A swatch of the current colour beside the override box.
  const int index = GetColorIndex();
  auto& theme = GetEditableTheme();
  if (index >= 0 && index < theme.GetColorCount()) {
    const kivcore::RectF swatch{kMargin + 230, kMargin + 3 * kRow, 40, kRow - 6};
    d.FillRect(swatch, theme.GetColor(index));
    d.FrameRect(swatch, kivui::ThemeColors::Current().border);
  }
}

void ThemeColorEditorPanel::DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const { sizes.push_back({340, 220}); }

}  // namespace kivworkspace::sharedui
