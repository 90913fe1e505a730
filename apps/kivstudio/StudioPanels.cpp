#include "StudioPanels.h"

#include "StudioTools.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/ThemeColors.h"
#include "sharedui/ConsolePanel.h"
#include "sharedui/DebugMonitorPanel.h"
#include "sharedui/ProgressPanel.h"
#include "sharedui/ThemeColorEditorPanel_TabCreator.h"
#include "sharedui/ThreadPanel.h"
#include "workspace/core/Workspace.h"
#include "workspace/frames/WorkspaceBorderElement.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace kivstudio {
namespace {

using kivcore::PointF;
using kivcore::RectF;
using kivui::Color;
using kivui::Drawbot;
using kivui::Font;

const kivui::ThemeColors& Theme() { return kivui::ThemeColors::Current(); }

std::string Timecode(int frames) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d:%02d", frames / (25 * 3600), frames / (25 * 60) % 60,
                frames / 25 % 60, frames % 25);
  return text;
}

void Caption(Drawbot& d, const RectF& r, const std::string& text, Color c, unsigned align = kivui::kAlignLeft | kivui::kAlignVCenter) {
  d.DrawText(text, r, Font::UI(11), c, align | kivui::kElideRight);
}

// A picture-like gradient with a horizon, standing for a frame of footage.
void DrawFootage(Drawbot& d, const RectF& r, int seed) {
  const Color skies[] = {Color::RGB(0x3B, 0x6E, 0xA5), Color::RGB(0xC9, 0x7B, 0x4A), Color::RGB(0x2E, 0x3A, 0x59),
                         Color::RGB(0x7F, 0x9C, 0xB5), Color::RGB(0x8E, 0x5A, 0x7A)};
  const Color grounds[] = {Color::RGB(0x3E, 0x5C, 0x2E), Color::RGB(0x5A, 0x44, 0x30), Color::RGB(0x1E, 0x22, 0x2C),
                           Color::RGB(0x6B, 0x6B, 0x5E), Color::RGB(0x40, 0x2C, 0x3A)};
  const Color sky = skies[seed % 5], ground = grounds[seed % 5];
  const float horizon = r.top + r.height * (0.45f + 0.05f * float(seed % 3));
  d.FillGradient({r.left, r.top, r.width, horizon - r.top}, kivui::utility::Lighten(sky, 0.25f), sky);
  d.FillGradient({r.left, horizon, r.width, r.Bottom() - horizon}, ground, kivui::utility::Darken(ground, 0.4f));
  const float sunX = r.left + r.width * (0.2f + 0.15f * float(seed % 4));
  d.FillEllipse({sunX, horizon - r.height * 0.22f, r.height * 0.14f, r.height * 0.14f},
                kivui::utility::Lighten(sky, 0.7f));
}

// A panel whose content is drawn by a function of the panel's bounds.
class DrawnPanel : public TabPanel {
 public:
  using DrawFunction = std::function<void(Drawbot&, const RectF&, const DrawnPanel&)>;
  DrawnPanel(Workspace* w, WorkspaceFrameBase* f, const PanelType& type, DrawFunction draw, kivcore::Point snap)
      : TabPanel(w, f, true, type.tabType, kivcore::UTF8to16(type.title)), draw_(std::move(draw)), snap_(snap) {
    SetShowCloseControl();
  }

  void UI_Draw(Drawbot& d, const RectF&) override {
    const RectF b = GetLocalBounds();
    d.FillRect(b, Theme().panel);
    d.PushClip(b);
    draw_(d, b, *this);
    d.PopClip();
  }

 private:
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override {
    if (snap_.x || snap_.y) sizes.push_back(snap_);
  }
  DrawFunction draw_;
  kivcore::Point snap_;
};

// A drawn panel that can be pinned to a window side: the tool strip (dragged out by its
// grip) and the transport bar (collapsed to its handle and expanded again).
class BorderPanel : public DrawnPanel, public kivworkspace::workspace::WorkspaceBorderElement {
 public:
  BorderPanel(Workspace* w, WorkspaceFrameBase* f, const PanelType& type, DrawFunction draw,
              kivcore::Point snap, bool rippable, bool resizeable)
      : DrawnPanel(w, f, type, std::move(draw), snap), rippable_(rippable), resizeable_(resizeable) {}
  bool IsRippable() const override { return rippable_; }
  bool IsResizeable() const override { return resizeable_; }

 private:
  bool rippable_;
  bool resizeable_;
};

void DrawMediaBin(Drawbot& d, const RectF& b, const DrawnPanel&) {
  const char* names[] = {"A001_C004_interview.mov", "A001_C007_wide.mov", "B002_C001_city.mp4", "drone_pass_03.mp4",
                         "studio_bts.mov", "sunset_timelapse.mov", "street_vox_12.mov", "logo_sting.mov",
                         "music_bed_v3.wav", "ambience_cafe.wav", "title_card.png", "graded_master.mov"};
  d.FillRect({0, 0, b.width, 26}, Theme().panelAlt);
  Caption(d, {10, 0, 200, 26}, "Project: Harbour Documentary  ›  Footage", Theme().textDim);
  Caption(d, {b.width - 90, 0, 80, 26}, "12 items", Theme().textDim, kivui::kAlignRight | kivui::kAlignVCenter);
  const float cellW = 132, cellH = 104, pad = 10;
  const int columns = std::max(1, int((b.width - pad) / (cellW + pad)));
  for (int i = 0; i < 12; ++i) {
    const float x = pad + float(i % columns) * (cellW + pad), y = 34 + float(i / columns) * (cellH + pad);
    const RectF thumb{x, y, cellW, 74};
    if (i >= 8 && i <= 9) {
      d.FillRect(thumb, Color::RGB(0x1F, 0x3A, 0x2F));
      for (int k = 0; k < 40; ++k) {
        const float h = 8 + 26 * std::fabs(std::sin(float(k) * 0.7f + float(i)));
        d.FillRect({x + 6 + float(k) * 3, y + 37 - h / 2, 2, h}, Color::RGB(0x5F, 0xD0, 0x8A));
      }
    } else {
      DrawFootage(d, thumb, i);
    }
    if (i == 2) d.FrameRect(thumb.Inset(-2), Theme().accent, 2);
    d.FillRoundedRect({x + cellW - 44, y + 56, 40, 15}, 3, Color{0, 0, 0, 170});
    Caption(d, {x + cellW - 44, y + 56, 40, 15}, Timecode(250 + i * 377).substr(3), Theme().text, kivui::kAlignCenter);
    Caption(d, {x, y + 76, cellW, 20}, names[i], i == 2 ? Theme().accentText : Theme().text);
  }
}

void DrawViewer(Drawbot& d, const RectF& b, bool sequence) {
  const float barsH = 40;
  RectF screen{10, 10, b.width - 20, b.height - barsH - 20};
  // Keep 16:9 inside the area.
  if (screen.width / 16 > screen.height / 9) {
    const float w = screen.height * 16 / 9;
    screen = {screen.left + (screen.width - w) / 2, screen.top, w, screen.height};
  } else {
    const float h = screen.width * 9 / 16;
    screen = {screen.left, screen.top + (screen.height - h) / 2, screen.width, h};
  }
  d.FillRect({0, 0, b.width, b.height - barsH}, Color::RGB(0x10, 0x10, 0x10));
  if (sequence) {
    DrawFootage(d, screen, 3);
    d.DrawText("HARBOUR", {screen.left, screen.top + screen.height * 0.7f, screen.width, screen.height * 0.15f},
               Font::Bold(std::max(10.0f, screen.height * 0.09f)), Color::RGB(255, 255, 255), kivui::kAlignCenter);
  } else {
    const Color bars[] = {Color::RGB(192, 192, 192), Color::RGB(192, 192, 0), Color::RGB(0, 192, 192), Color::RGB(0, 192, 0),
                          Color::RGB(192, 0, 192), Color::RGB(192, 0, 0), Color::RGB(0, 0, 192)};
    const float w = screen.width / 7;
    for (int i = 0; i < 7; ++i) d.FillRect({screen.left + w * float(i), screen.top, w + 1, screen.height * 0.7f}, bars[i]);
    d.FillRect({screen.left, screen.top + screen.height * 0.7f, screen.width, screen.height * 0.3f}, Color::RGB(16, 16, 16));
    d.FillRect({screen.left, screen.top + screen.height * 0.72f, screen.width * 0.3f, screen.height * 0.26f},
               Color::RGB(0, 33, 76));
  }
  const float y = b.height - barsH;
  d.FillRect({0, y, b.width, barsH}, Theme().header);
  // Narrow viewers keep only the transport controls.
  const bool roomy = b.width >= 300;
  if (roomy) {
    d.DrawText(Timecode(sequence ? 90125 : 1337), {10, y, 120, barsH}, Font::Mono(13), Color::RGB(0x4F, 0xC3, 0xF7),
               kivui::kAlignLeft | kivui::kAlignVCenter);
  }
  const float cx = b.width / 2, cy = y + barsH / 2;
  d.FillPolygon({{cx - 30, cy}, {cx - 22, cy - 6}, {cx - 22, cy + 6}}, Theme().text);
  d.FillPolygon({{cx - 5, cy - 8}, {cx + 9, cy}, {cx - 5, cy + 8}}, Theme().text);
  d.FillPolygon({{cx + 32, cy}, {cx + 24, cy - 6}, {cx + 24, cy + 6}}, Theme().text);
  if (roomy) {
    Caption(d, {b.width - 130, y, 120, barsH}, sequence ? "Fit   1/2" : "Full   Fit", Theme().textDim,
            kivui::kAlignRight | kivui::kAlignVCenter);
  }
}

void DrawTimeline(Drawbot& d, const RectF& b, const DrawnPanel&) {
  const float header = 90, ruler = 26, trackH = 34;
  d.FillRect({0, 0, b.width, ruler}, Theme().header);
  Caption(d, {8, 0, header, ruler}, Timecode(90125), Color::RGB(0x4F, 0xC3, 0xF7));
  const float scale = 6;  // pixels per second
  for (int s = 0; header + float(s) * scale < b.width; s += 5) {
    const float x = header + float(s) * scale;
    d.FillRect({x, ruler - (s % 30 == 0 ? 10.0f : 5.0f), 1, s % 30 == 0 ? 10.0f : 5.0f}, Theme().textDim);
    if (s % 30 == 0) Caption(d, {x + 3, 0, 80, 16}, Timecode(90000 + s * 25).substr(3, 5), Theme().textDim);
  }
  struct Clip { int track; float start, length; const char* name; };
  const Clip clips[] = {{0, 8, 22, "title_card"}, {0, 96, 14, "logo_sting"},
                        {1, 0, 40, "A001_C004_interview"}, {1, 40, 26, "drone_pass_03"}, {1, 66, 31, "B002_C001_city"},
                        {1, 97, 44, "A001_C007_wide"}, {1, 141, 30, "sunset_timelapse"},
                        {2, 0, 97, "A001_C004_interview"}, {2, 97, 74, "street_vox_12"},
                        {3, 0, 171, "music_bed_v3"}};
  const char* tracks[] = {"V2", "V1", "A1", "A2"};
  for (int t = 0; t < 4; ++t) {
    const float y = ruler + 4 + float(t) * (trackH + 3);
    d.FillRect({0, y, header - 2, trackH}, Theme().panelAlt);
    Caption(d, {10, y, 30, trackH}, tracks[t], Theme().text);
    d.FillRect({header, y, b.width - header, trackH}, Color::RGB(0x1C, 0x1C, 0x1C));
  }
  for (const Clip& c : clips) {
    const float y = ruler + 4 + float(c.track) * (trackH + 3);
    const RectF r{header + c.start * scale, y + 1, c.length * scale - 2, trackH - 2};
    const bool audio = c.track >= 2;
    const Color fill = audio ? Color::RGB(0x2E, 0x7D, 0x5B) : c.track == 0 ? Color::RGB(0x8E, 0x5C, 0xB8)
                                                                          : Color::RGB(0x3C, 0x6F, 0xB4);
    d.FillRoundedRect(r, 3, fill);
    d.FrameRoundedRect(r, 3, kivui::utility::Lighten(fill, 0.25f));
    if (audio) {
      for (float x = r.left + 4; x < r.Right() - 4; x += 3) {
        const float h = 4 + 10 * std::fabs(std::sin(x * 0.13f) * std::cos(x * 0.031f));
        d.FillRect({x, y + trackH / 2 - h / 2 + 4, 2, h}, kivui::utility::Lighten(fill, 0.35f));
      }
    }
    Caption(d, {r.left + 5, y + 2, r.width - 8, 14}, c.name, Color::RGB(240, 240, 240));
  }
  const float playhead = header + 75 * scale;
  d.FillRect({playhead, 0, 1.5f, b.height}, Color::RGB(0xE5, 0x3E, 0x3E));
  d.FillPolygon({{playhead - 6, 0}, {playhead + 7.5f, 0}, {playhead + 0.75f, 8}}, Color::RGB(0xE5, 0x3E, 0x3E));
}

void DrawList(Drawbot& d, const RectF& b, const std::vector<std::pair<std::string, int>>& rows, const char* header) {
  d.FillRect({0, 0, b.width, 26}, Theme().panelAlt);
  Caption(d, {10, 0, b.width - 20, 26}, header, Theme().textDim);
  float y = 30;
  for (const auto& [text, depth] : rows) {
    if (depth == 0) {
      d.FillPolygon({{12, y + 6}, {20, y + 6}, {16, y + 12}}, Theme().textDim);
    } else {
      d.FillRoundedRect({float(14 + depth * 14), y + 4, 12, 12}, 2, Color::RGB(0x6A, 0x5A, 0xCD));
    }
    Caption(d, {float(26 + depth * 18), y, b.width - 40, 20}, text, depth == 0 ? Theme().text : Theme().textDim);
    y += 22;
  }
}

void DrawEffects(Drawbot& d, const RectF& b, const DrawnPanel&) {
  DrawList(d, b, {{"Video Effects", 0}, {"Blur & Sharpen", 1}, {"Colour Correction", 1}, {"Film Look", 1},
                  {"Distort", 1}, {"Video Transitions", 0}, {"Cross Dissolve", 1}, {"Dip to Black", 1},
                  {"Audio Effects", 0}, {"Compressor", 1}, {"Parametric EQ", 1}, {"Reverb", 1}},
           "Presets  |  Search effects");
}

void DrawMarkers(Drawbot& d, const RectF& b, const DrawnPanel&) {
  d.FillRect({0, 0, b.width, 26}, Theme().panelAlt);
  Caption(d, {10, 0, 120, 26}, "In", Theme().textDim);
  Caption(d, {110, 0, 200, 26}, "Name", Theme().textDim);
  const Color colours[] = {Color::RGB(0xE5, 0x3E, 0x3E), Color::RGB(0x4C, 0xAF, 0x50), Color::RGB(0x29, 0x9B, 0xE8),
                           Color::RGB(0xF5, 0xB9, 0x42)};
  const char* names[] = {"Cold open", "Interview starts", "Drone reveal", "Music hit", "Act two", "Credits"};
  for (int i = 0; i < 6; ++i) {
    const float y = 30 + float(i) * 24;
    if (i % 2) d.FillRect({0, y, b.width, 24}, Theme().panelAlt);
    d.FillRoundedRect({10, y + 6, 12, 12}, 2, colours[i % 4]);
    Caption(d, {30, y, 80, 24}, Timecode(90000 + i * 1900).substr(3), Theme().text);
    Caption(d, {110, y, b.width - 120, 24}, names[i], Theme().text);
  }
}

void DrawInspector(Drawbot& d, const RectF& b, const DrawnPanel&) {
  const char* groups[] = {"Motion", "Opacity", "Time Remapping", "Colour Grade"};
  const std::vector<std::vector<std::pair<const char*, float>>> rows = {
      {{"Position", 0.5f}, {"Scale", 0.72f}, {"Rotation", 0.1f}}, {{"Opacity", 1.0f}}, {{"Speed", 0.33f}},
      {{"Exposure", 0.55f}, {"Contrast", 0.62f}, {"Saturation", 0.48f}}};
  float y = 6;
  for (std::size_t g = 0; g < rows.size(); ++g) {
    d.FillRect({0, y, b.width, 22}, Theme().panelAlt);
    d.FillPolygon({{10, y + 8}, {18, y + 8}, {14, y + 14}}, Theme().textDim);
    Caption(d, {24, y, b.width, 22}, groups[g], Theme().text);
    y += 24;
    for (const auto& [name, value] : rows[g]) {
      Caption(d, {24, y, 110, 22}, name, Theme().textDim);
      const float left = 130, width = std::max(30.0f, b.width - left - 60);
      d.FillRoundedRect({left, y + 9, width, 4}, 2, Theme().field);
      d.FillRoundedRect({left, y + 9, width * value, 4}, 2, Theme().accent);
      d.FillEllipse({left + width * value - 5, y + 6, 10, 10}, Theme().text);
      char text[16];
      std::snprintf(text, sizeof text, "%.1f", double(value * 100));
      Caption(d, {left + width + 8, y, 50, 22}, text, Color::RGB(0x4F, 0xC3, 0xF7));
      y += 24;
    }
  }
}

void DrawMixer(Drawbot& d, const RectF& b, const DrawnPanel&) {
  const char* names[] = {"A1", "A2", "A3", "Mix"};
  const float stripW = std::min(70.0f, (b.width - 10) / 4);
  for (int i = 0; i < 4; ++i) {
    const float x = 6 + float(i) * stripW;
    d.FillRect({x, 4, stripW - 6, b.height - 8}, i == 3 ? Theme().panelAlt : Theme().header);
    Caption(d, {x, b.height - 26, stripW - 6, 20}, names[i], Theme().text, kivui::kAlignCenter);
    const float meterTop = 14, meterH = std::max(20.0f, b.height - 60);
    for (int ch = 0; ch < 2; ++ch) {
      const float mx = x + 10 + float(ch) * 9, level = 0.45f + 0.4f * std::fabs(std::sin(float(i * 2 + ch)));
      d.FillRect({mx, meterTop, 6, meterH}, Color::RGB(0x10, 0x10, 0x10));
      const float h = meterH * level;
      d.FillGradient({mx, meterTop + meterH - h, 6, h}, Color::RGB(0xE8, 0xC5, 0x3A), Color::RGB(0x3C, 0xC8, 0x64));
    }
    const float faderX = x + stripW - 26, faderY = meterTop + meterH * (0.3f + 0.1f * float(i));
    d.FillRect({faderX + 4, meterTop, 2, meterH}, Theme().border);
    d.FillRoundedRect({faderX - 4, faderY, 18, 10}, 2, Theme().button);
  }
}

void DrawScopes(Drawbot& d, const RectF& b, const DrawnPanel&) {
  const RectF scope{10, 10, b.width - 20, b.height - 20};
  d.FillRect(scope, Color::RGB(0x08, 0x08, 0x08));
  for (int k = 0; k <= 4; ++k) {
    const float y = scope.top + scope.height * float(k) / 4;
    d.FillRect({scope.left, y, scope.width, 1}, Color::RGB(0x30, 0x30, 0x30));
    Caption(d, {scope.left + 2, y - 12, 30, 12}, std::to_string(100 - k * 25), Color::RGB(0x60, 0x60, 0x60));
  }
  for (int x = 0; x < int(scope.width); x += 2) {
    for (int s = 0; s < 5; ++s) {
      const float v = 0.5f + 0.3f * std::sin(float(x) * 0.03f + float(s)) * std::cos(float(x) * 0.011f * float(s + 1));
      d.FillRect({scope.left + float(x), scope.top + scope.height * (1 - v), 1.5f, 1.5f}, Color{0x5F, 0xE0, 0x7A, 150});
    }
  }
}

// Play controls and the timecode, in one row.
void DrawTransport(Drawbot& d, const RectF& b, const DrawnPanel&) {
  d.FillRect(b, Theme().header);
  const float cy = b.top + b.height / 2;
  float x = b.left + 12;
  for (int i = 0; i < 5; ++i, x += 30) {
    d.FillRoundedRect({x, cy - 11, 24, 22}, 4, i == 2 ? Theme().accent : Theme().button);
    d.FillPolygon({{x + 9, cy - 5}, {x + 17, cy}, {x + 9, cy + 5}}, Theme().text);
  }
  d.DrawText("00:00:53:12", {x + 10, b.top, 140, b.height}, Font::Mono(14), Theme().accent,
             kivui::kAlignLeft | kivui::kAlignVCenter);
}

class StudioCreator : public TabCreator {
 public:
  using Factory = std::function<std::shared_ptr<TabPanel>(Workspace*, WorkspaceFrameBase*, const PanelType&)>;
  StudioCreator(const PanelType& type, Factory factory) : TabCreator(type.tabType), type_(type), factory_(std::move(factory)) {}
  std::shared_ptr<TabPanel> CreateTabPanel(Workspace* w, WorkspaceFrameBase* f) const override { return factory_(w, f, type_); }
  bool HidesWhenClosed() const override { return type_.hidesWhenClosed; }

 private:
  PanelType type_;
  Factory factory_;
};

StudioCreator::Factory Drawn(DrawnPanel::DrawFunction draw, kivcore::Point snap = {0, 0}) {
  return [draw, snap](Workspace* w, WorkspaceFrameBase* f, const PanelType& type) {
    return std::make_shared<DrawnPanel>(w, f, type, draw, snap);
  };
}

StudioCreator::Factory Border(DrawnPanel::DrawFunction draw, kivcore::Point snap, bool rippable,
                              bool resizeable) {
  return [=](Workspace* w, WorkspaceFrameBase* f, const PanelType& type) {
    return std::make_shared<BorderPanel>(w, f, type, draw, snap, rippable, resizeable);
  };
}

}  // namespace

const std::vector<PanelType>& PanelTypes() {
  static const std::vector<PanelType> types = {
      {"MediaBin", "Media Bin", false},        {"ClipViewer", "Clip Viewer", false},
      {"SequenceViewer", "Sequence Viewer", false}, {"Timeline", "Timeline", false},
      {"EffectsLibrary", "Effects Library", false}, {"Inspector", "Inspector", false},
      {"AudioMixer", "Audio Mixer", false},     {"Scopes", "Scopes", false},
      {"ToolStrip", "Tools", false},            {"Markers", "Markers", false},
      {"ProgressPanel", "Progress", true},      {"Transport", "Transport", false},
      {"ConsolePanel", "Console", true, true},  {"DebugMonitorPanel", "Debug Monitor", true, true},
      {"ThreadPanel", "Threads", true, true},   {"KIV_ThemeColorEditor", "Theme Color Test", true, true},
  };
  return types;
}

void RegisterStudioPanels(Workspace& workspace, kivworkspace::sharedui::ToolMap& tools) {
  const std::vector<std::pair<std::string, StudioCreator::Factory>> factories = {
      {"MediaBin", Drawn(DrawMediaBin)},
      {"ClipViewer", Drawn([](Drawbot& d, const RectF& b, const DrawnPanel&) { DrawViewer(d, b, false); })},
      {"SequenceViewer", Drawn([](Drawbot& d, const RectF& b, const DrawnPanel&) { DrawViewer(d, b, true); })},
      {"Timeline", Drawn(DrawTimeline)},
      {"EffectsLibrary", Drawn(DrawEffects)},
      {"Inspector", Drawn(DrawInspector)},
      {"AudioMixer", Drawn(DrawMixer)},
      {"Scopes", Drawn(DrawScopes)},
      {"Markers", Drawn(DrawMarkers)},
      {"Transport", Border(DrawTransport, {0, 36}, false, true)},
  };
  for (const auto& [tabType, factory] : factories) {
    const auto& types = PanelTypes();
    const auto type = std::find_if(types.begin(), types.end(), [&](const PanelType& p) { return p.tabType == tabType; });
    workspace.RegisterTabCreator(std::make_unique<StudioCreator>(*type, factory));
  }
  workspace.RegisterTabCreator(CreateStudioToolsCreator(tools));
  // The library's own panels.
  namespace sharedui = kivworkspace::sharedui;
  workspace.RegisterTabCreator(std::make_unique<sharedui::ProgressPanel::TabCreator>());
  workspace.RegisterTabCreator(std::make_unique<sharedui::ConsolePanel::TabCreator>());
  workspace.RegisterTabCreator(sharedui::DebugMonitorPanel::CreateTabCreator());
  workspace.RegisterTabCreator(std::make_unique<sharedui::ThreadPanel::TabCreator>());
  workspace.RegisterTabCreator(std::make_unique<sharedui::ThemeColorEditorPanel_TabCreator>());
}

}  // namespace kivstudio
