#include "services/ui/draw/KeyframeTheme.h"

#include "services/core/Error.h"
#include "services/core/Strings.h"
#include "services/ui/draw/ThemeColors.h"
#include "services/ui/skin/SkinManager.h"

#include <pugixml.hpp>

#include <algorithm>

namespace kivui {
namespace {

// The ThemeColors member of each index, in the order of GetColorNames().
struct Entry {
  const char* name;
  Color ThemeColors::*member;
};
const Entry kEntries[] = {
    {"window", &ThemeColors::window},         {"panel", &ThemeColors::panel},
    {"panelAlt", &ThemeColors::panelAlt},     {"header", &ThemeColors::header},
    {"border", &ThemeColors::border},         {"tabBackground", &ThemeColors::tabBackground},
    {"tabHover", &ThemeColors::tabHover},     {"tabFront", &ThemeColors::tabFront},
    {"tabFrontFocused", &ThemeColors::tabFrontFocused}, {"text", &ThemeColors::text},
    {"textDim", &ThemeColors::textDim},       {"textDisabled", &ThemeColors::textDisabled},
    {"accent", &ThemeColors::accent},         {"accentText", &ThemeColors::accentText},
    {"warning", &ThemeColors::warning},       {"error", &ThemeColors::error},
    {"button", &ThemeColors::button},         {"buttonHover", &ThemeColors::buttonHover},
    {"buttonPressed", &ThemeColors::buttonPressed}, {"field", &ThemeColors::field},
    {"selection", &ThemeColors::selection},
};

std::vector<Color> ColorsOf(const ThemeColors& theme) {
  std::vector<Color> colors;
  for (const Entry& e : kEntries) colors.push_back(theme.*e.member);
  return colors;
}

}  // namespace

KeyframeTheme& KeyframeTheme::Get() {
  static KeyframeTheme* theme = new KeyframeTheme;  // windows may draw while the program exits
  return *theme;
}

// Starts from the theme in effect (the built-in one, or one a host registered).
KeyframeTheme::KeyframeTheme()
    : registered_(std::make_shared<ThemeColors>(ThemeColors::Current())),
      initial_(ColorsOf(*registered_)),
      base_(initial_) {
  SkinManager::Get().GetDefaultSet().Register(registered_);
}

const std::vector<std::string>& KeyframeTheme::GetColorNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const Entry& e : kEntries) n.push_back(e.name);
    return n;
  }();
  return names;
}

int KeyframeTheme::FindColor(std::string_view name) {
  const auto& names = GetColorNames();
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1 : int(it - names.begin());
}

Color KeyframeTheme::GetColor(int index) const {
  const auto it = overrides_.find(index);
  return it != overrides_.end() ? it->second : base_.at(std::size_t(index));
}

Color KeyframeTheme::GetBaseColor(int index) const { return base_.at(std::size_t(index)); }

void KeyframeTheme::SetBaseColors(const std::map<int, Color>& colors) {
  for (const auto& [index, color] : colors) base_.at(std::size_t(index)) = color;
  Apply();
}

bool KeyframeTheme::SetOverride(int index, std::optional<Color> color) {
  if (index < 0 || index >= GetColorCount()) return false;
  if (color) {
    overrides_[index] = *color;
  } else {
    overrides_.erase(index);
  }
  Apply();
  return true;
}

std::optional<Color> KeyframeTheme::GetOverride(int index) const {
  const auto it = overrides_.find(index);
  return it == overrides_.end() ? std::nullopt : std::optional<Color>(it->second);
}

void KeyframeTheme::Reset() {
  base_ = initial_;
  overrides_.clear();
  Apply();
}

void KeyframeTheme::Apply() {
  for (int i = 0; i < GetColorCount(); ++i) (*registered_).*kEntries[i].member = GetColor(i);
  changed_();
}

namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& reason) {
  kivcore::config::ThrowError(1, "$$$/kivui/KeyframeTheme/Error/InvalidThemeFile=The theme file @0 cannot be used: @1",
                              KeyframeTheme::kErrorCategory, KeyframeTheme::kInvalidThemeFileError, 1, path, reason);
}

bool Unreadable(pugi::xml_parse_status status) {
  return status == pugi::status_file_not_found || status == pugi::status_io_error || status == pugi::status_out_of_memory;
}

}  // namespace

void ParseKeyframeThemeFile(const std::string& path, KeyframeTheme& theme) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_file(path.c_str());
  if (!parsed) Refuse(path, std::string(Unreadable(parsed.status) ? "it cannot be read: " : "it is not XML: ") + parsed.description());
  const pugi::xml_node root = doc.child("KeyframeTheme");
  if (!root) Refuse(path, "it has no KeyframeTheme element");
  std::map<int, Color> colors;
  for (const pugi::xml_node node : root.children("Color")) {
    const std::string where = "colour " + std::to_string(colors.size() + 1) + ": ";
    const pugi::xml_attribute name = node.attribute("name"), index = node.attribute("index");
    const int number = index ? kivcore::StringToNumber<int>(std::string_view(index.value())).value_or(-1) : -1;
    int i = name ? KeyframeTheme::FindColor(name.value()) : number;
    if (name && index && number != i) Refuse(path, where + "index " + index.value() + " is not the index of " + name.value());
    if (i < 0 || i >= theme.GetColorCount())
      Refuse(path, where + "no theme colour " + (name ? std::string(name.value()) : "index " + std::string(index.value())));
    const auto color = utility::ColorFromHex(node.attribute("rgb").value());
    if (!color) Refuse(path, where + "rgb \"" + node.attribute("rgb").value() + "\" is not #rrggbb or #rrggbbaa");
    colors[i] = *color;
  }
  if (colors.empty()) Refuse(path, "it sets no colour");
  theme.SetBaseColors(colors);
}

}  // namespace kivui
