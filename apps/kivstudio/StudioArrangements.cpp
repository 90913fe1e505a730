#include "StudioArrangements.h"

#include "layout/LayoutManager.h"
#include "workspace/definition/FrameBuilder.h"
#include "workspace/definition/SplitterBuilder.h"
#include "workspace/definition/WorkspaceBuilder.h"

#include <functional>
#include <map>
#include <memory>

namespace kivstudio {
namespace {

using kivworkspace::workspace::BuilderBase;
using kivworkspace::workspace::FrameBuilder;
using kivworkspace::workspace::SplitterBuilder;
using kivworkspace::workspace::WorkspaceBuilder;
using Element = std::unique_ptr<BuilderBase>;

// A frame of the panel types, the first in front, with closed panels of the other types.
Element Frame(std::list<std::string> types, std::initializer_list<const char*> closed = {}) {
  auto frame = std::make_unique<FrameBuilder>(types);
  for (const char* type : closed) frame->AddTab(type, true);
  return frame;
}

// The panel types one under another.
Element Stack(std::list<std::string> types) {
  auto frame = std::make_unique<FrameBuilder>(types);
  frame->SetStacked(true);
  return frame;
}

// Two elements side by side (Beside) or one above the other (Above), the bar at the
// fraction given.
Element Split(bool vertical, float at, Element first, Element second) {
  auto splitter = std::make_unique<SplitterBuilder>(vertical, std::move(first), std::move(second));
  splitter->SetSplitVal(at);
  return splitter;
}
Element Beside(float at, Element left, Element right) { return Split(true, at, std::move(left), std::move(right)); }
Element Above(float at, Element top, Element bottom) { return Split(false, at, std::move(top), std::move(bottom)); }

// The tools stay pinned to the left of the main window in every arrangement.
void PinTools(WorkspaceBuilder& builder) {
  builder.AddStaticElement(kivworkspace::workspace::LayoutManager::kLeft, "ToolStrip");
}

// Editing: bins and viewers over the timeline, tools and mixer beside it.
void Cut(WorkspaceBuilder& builder, const kivcore::Rect& main) {
  builder.AddWindow(
      Above(0.56f,
            Beside(0.63f, Beside(0.62f, Frame({"MediaBin", "EffectsLibrary", "Markers"}), Frame({"ClipViewer"})),
                   Beside(0.4f, Frame({"SequenceViewer"}), Frame({"Inspector"}))),
            Beside(0.78f, Frame({"Timeline"}), Frame({"AudioMixer", "Scopes", "ConsolePanel"}))),
      main);
  PinTools(builder);
}

// Grading: large viewers, scopes beside the timeline, the inspector's colour controls
// stacked over the effects and the markers, and the media bin floating over the right of
// the main window.
void Colour(WorkspaceBuilder& builder, const kivcore::Rect& main) {
  builder.AddWindow(
      Above(0.6f, Beside(0.5f, Frame({"ClipViewer"}), Frame({"SequenceViewer"})),
            Beside(0.3f, Stack({"Inspector", "EffectsLibrary", "Markers"}),
                   Beside(0.6f, Frame({"Timeline"}), Frame({"Scopes"})))),
      main);
  PinTools(builder);
  builder.AddWindow(Frame({"MediaBin"}),
                    {main.left + main.width - 400, main.top + 90, 360, 320});
}

// Mixing: the mixer tall on the left, markers and console under it, the timeline wide.
void Audio(WorkspaceBuilder& builder, const kivcore::Rect& main) {
  builder.AddWindow(
      Beside(0.28f, Above(0.6f, Frame({"AudioMixer"}), Frame({"Markers", "ConsolePanel"}, {"ProgressPanel"})),
             Above(0.45f, Beside(0.5f, Frame({"SequenceViewer"}), Frame({"MediaBin"})),
                   Frame({"Timeline"}))),
      main, "Transport");
  PinTools(builder);
}

const std::map<std::string, std::function<void(WorkspaceBuilder&, const kivcore::Rect&)>>& Describers() {
  static const std::map<std::string, std::function<void(WorkspaceBuilder&, const kivcore::Rect&)>> all = {
      {"Cut", Cut}, {"Colour", Colour}, {"Audio", Audio}};
  return all;
}

}  // namespace

const std::vector<std::string>& ArrangementNames() {
  static const std::vector<std::string> names = {"Cut", "Colour", "Audio"};
  return names;
}

std::unique_ptr<WorkspaceBuilder> CreateArrangementBuilder(kivworkspace::workspace::Workspace& workspace,
                                                           const std::string& name, const kivcore::Rect& mainRect) {
  auto it = Describers().find(name);
  if (it == Describers().end()) return nullptr;
  auto builder = std::make_unique<WorkspaceBuilder>(workspace);
  it->second(*builder, mainRect);
  return builder;
}

bool BuildArrangement(kivworkspace::workspace::Workspace& workspace, const std::string& name,
                      const kivcore::Rect& mainRect) {
  std::unique_ptr<WorkspaceBuilder> builder = CreateArrangementBuilder(workspace, name, mainRect);
  if (!builder) return false;
  builder->BuildWorkspace();
  return true;
}

}  // namespace kivstudio
