#pragma once

#include "services/ui/draw/Color.h"

#include <boost/signals2/signal.hpp>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivui {

struct ThemeColors;

// The UI's theme colours by number, as theme files and the theme editor name them: each
// colour has a base value (from the built-in theme or a theme file) and may carry an
// override that wins until it is cleared. The effective colours are what ThemeColors::
// Current() returns; listeners hear of every change so that they redraw. UI thread only.
class KeyframeTheme {
 public:
  // A theme file that cannot be used raises kivcore::config::Error of the UI framework's
  // category with this code; its values are the file and the reason.
  static constexpr int kErrorCategory = 101;
  static constexpr int kInvalidThemeFileError = 2;

  // The theme the UI draws with. On first use it takes the colours in effect and registers
  // itself in the default skin set in their place.
  static KeyframeTheme& Get();

  // The colours' names in index order ("window", "panel", ...).
  static const std::vector<std::string>& GetColorNames();
  // The index of a name, or -1.
  static int FindColor(std::string_view name);
  int GetColorCount() const { return int(GetColorNames().size()); }

  // The effective colour (the override when there is one). Index must be valid.
  Color GetColor(int index) const;
  Color GetBaseColor(int index) const;
  // Sets base colours by index, all at once, then tells the listeners.
  void SetBaseColors(const std::map<int, Color>& colors);
  // Sets (or, with nullopt, clears) the override of one colour, then tells the listeners.
  // False for an index out of range.
  bool SetOverride(int index, std::optional<Color> color);
  std::optional<Color> GetOverride(int index) const;
  // Back to the colours of the first use, without overrides.
  void Reset();

  boost::signals2::signal<void()>& ThemeChanged() { return changed_; }

 private:
  KeyframeTheme();
  void Apply();

  std::shared_ptr<ThemeColors> registered_;
  std::vector<Color> initial_;
  std::vector<Color> base_;
  std::map<int, Color> overrides_;
  boost::signals2::signal<void()> changed_;
};

// Reads a theme colour file into a theme: a <KeyframeTheme> root with one
// <Color name="panel" rgb="#262626"/> per colour (or index="1" instead of the name; rgb
// may carry alpha as #rrggbbaa). Every colour is checked before any is set: a file that
// cannot be read or holds anything wrong raises kivcore::config::Error
// (KeyframeTheme::kErrorCategory, kInvalidThemeFileError) naming the file and the reason,
// and the theme stays as it was.
void ParseKeyframeThemeFile(const std::string& path, KeyframeTheme& theme);

}  // namespace kivui
