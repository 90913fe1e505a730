#include "sharedui/ThreadHistoryView.h"

#include "services/ui/draw/Drawbot.h"
#include "services/ui/draw/Font.h"
#include "services/ui/draw/ThemeColors.h"

#include <algorithm>
#include <functional>

namespace kivworkspace::sharedui {
namespace {

constexpr float kLabelWidth = 90;
constexpr float kLaneHeight = 22;

// A colour per kind of work (the label without its number), so repeated work looks alike.
kivui::Color SpanColor(const std::string& label) {
  static const kivui::Color colors[] = {kivui::Color::RGB(0x2D, 0x8C, 0xEB), kivui::Color::RGB(0x3D, 0xAE, 0x6B),
                                        kivui::Color::RGB(0xE8, 0xA3, 0x3D), kivui::Color::RGB(0xB0, 0x6A, 0xD8),
                                        kivui::Color::RGB(0xE0, 0x4F, 0x4F)};
  const std::string kind = label.substr(0, label.find_last_not_of("0123456789 ") + 1);
  return colors[std::hash<std::string>{}(kind) % std::size(colors)];
}

}  // namespace

ThreadHistoryView::ThreadHistoryView() : UI_Node("ThreadHistoryView") {}

void ThreadHistoryView::UI_Draw(kivui::Drawbot& d, const kivcore::RectF&) {
  const auto& theme = kivui::ThemeColors::Current();
  const kivcore::RectF b = GetLocalBounds();
  d.FillRect(b, theme.panelAlt);
  const ThreadActivity& log = ThreadActivity::Get();
  const double now = log.NowMs();
  const double from = now - spanSeconds_ * 1000.0;
  lanes_ = ThreadSpanLanes::Build(log.GetSpans(), from, now);
  if (lanes_.lanes.empty()) {
    d.DrawText("No thread activity yet: run a thread.* command in the console", b, kivui::Font::UI(11), theme.textDim,
               kivui::kAlignCenter);
    return;
  }
  const float plotWidth = std::max(1.0f, b.width - kLabelWidth);
  const auto x = [&](double ms) { return kLabelWidth + float((std::clamp(ms, from, now) - from) / (now - from)) * plotWidth; };
  float top = 0;
  int other = 0;
  for (const auto& lane : lanes_.lanes) {
    const std::string name = lane.mainThread ? "main" : "worker " + std::to_string(++other);
    d.DrawText(name, {4, top, kLabelWidth - 8, kLaneHeight}, kivui::Font::UI(11), theme.text,
               kivui::kAlignLeft | kivui::kAlignVCenter | kivui::kElideRight);
    for (const ThreadSpan& span : lane.spans) {
      const float left = x(span.startMs);
      const kivcore::RectF bar{left, top + 3, std::max(1.0f, x(span.endMs) - left), kLaneHeight - 6};
      d.FillRect(bar, SpanColor(span.label));
      if (bar.width > 60)
        d.DrawText(span.label, kivcore::RectF{bar.left + 3, bar.top, bar.width - 6, bar.height}, kivui::Font::UI(10), theme.accentText,
                   kivui::kAlignLeft | kivui::kAlignVCenter | kivui::kElideRight);
    }
    top += kLaneHeight;
    d.DrawLine({0, top}, {b.width, top}, theme.border);
  }
}

}  // namespace kivworkspace::sharedui
