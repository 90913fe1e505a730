#include "DefinitionOutline.h"

#include "services/core/PropList.h"
#include "workspace/definition/WorkspaceDefinition.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace kivws {
namespace {

using kivcore::PropList;

std::string Numbered(const char* prefix, int n) { return prefix + std::to_string(n); }

PropList::StringList Strings(const PropList& list, const char* key) {
  PropList::StringList strings;
  list.GetValue(key, strings);
  return strings;
}

// The closed panels of a frame: the types of "ReanimTabs" whose state is present, as a
// restore pairs them.
std::vector<std::string> ClosedPanels(const PropList& frame) {
  std::vector<std::string> closed;
  const PropList::StringList types = Strings(frame, "ReanimTabs");
  for (std::size_t k = 0; k < types.size(); ++k) {
    if (frame.GetValueType(Numbered("HidTabState-", int(k))) == PropList::ValueType::String)
      closed.push_back(types[k]);
  }
  return closed;
}

class TreeReader {
 public:
  // A child list ("Sub1", "Sub2", or the root holder's "Sub1") holds one element; null
  // when it holds none.
  std::unique_ptr<TreeElement> ReadChild(const PropList& child) {
    auto e = std::make_unique<TreeElement>();
    if (const PropList* s = child.GetSubList("Splitter")) {
      e->kind = TreeElement::kSplitter;
      s->GetValue("Orient", e->vertical);
      // As a restore reads it: a placement that is no finite number is none.
      if (!s->GetValue("Place", e->placement) || !std::isfinite(e->placement)) e->placement = 0;
      bool visible = true;
      if (s->GetValue("Sub1Vis", visible)) e->visible[0] = visible;
      if (s->GetValue("Sub2Vis", visible)) e->visible[1] = visible;
      for (int side = 0; side < 2; ++side) {
        if (const PropList* sub = s->GetSubList(side == 0 ? "Sub1" : "Sub2"))
          e->children[std::size_t(side)] = ReadChild(*sub);
      }
    } else if (const PropList* f = child.GetSubList("Frame")) {
      e->kind = TreeElement::kFrame;
      e->number = frames_++;
      e->panels = Strings(*f, "TabIDs");
      std::int32_t front = 0;
      f->GetValue("CurrTab", front);
      // As a restore does: a front tab past the end is the last one.
      e->front = e->panels.empty() ? 0 : std::clamp(int(front), 0, int(e->panels.size()) - 1);
      e->closed = ClosedPanels(*f);
    } else if (const PropList* p = child.GetSubList("FrameProxy")) {
      e->kind = TreeElement::kPlaceholder;
      e->closed = Strings(*p, "TabIDs");
    } else {
      return nullptr;
    }
    return e;
  }

 private:
  int frames_ = 0;
};

// The frame the path leads to from the root: '0' goes to the left or top child, '1' to the
// right or bottom one.
int FollowMaxFramePath(const TreeElement* e, const std::string& path) {
  for (char step : path) {
    if (!e || e->kind != TreeElement::kSplitter || (step != '0' && step != '1')) return -1;
    e = e->children[step == '0' ? 0 : 1].get();
  }
  return e && e->kind == TreeElement::kFrame ? e->number : -1;
}

WindowOutline ReadWindow(const PropList& list, int number) {
  WindowOutline w;
  w.number = number;
  // A restore reads the first window into the host's main window, whether it is there or not.
  w.main = number == 0;
  PropList::IntList pos;
  if (list.GetValue("SzPos", pos) && pos.size() == 4) w.place = {pos[0], pos[1], pos[2], pos[3]};
  // The window list's splitter is the root holder; the tree hangs on its first side.
  if (const PropList* holder = list.GetSubList("Splitter")) {
    if (const PropList* root = holder->GetSubList("Sub1")) w.root = TreeReader().ReadChild(*root);
  }
  std::string path;
  if (list.GetValue("MaxFramePath", path)) {
    w.maxFramePath = path;
    w.maximizedFrame = FollowMaxFramePath(w.root.get(), path);
  }
  return w;
}

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) text += (i ? ", " : "") + items[i];
  return text;
}

std::string FormatPlacement(float placement) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", double(placement));
  return text;
}

// --- text ---------------------------------------------------------------------------------

void WriteFrames(const TreeElement* e, std::ostream& out) {
  if (!e) return;
  switch (e->kind) {
    case TreeElement::kSplitter:
      WriteFrames(e->children[0].get(), out);
      WriteFrames(e->children[1].get(), out);
      return;
    case TreeElement::kFrame: {
      out << "  frame " << e->number << ":";
      if (e->panels.empty()) out << " no open panels";
      for (std::size_t i = 0; i < e->panels.size(); ++i)
        out << (i ? ", " : " ") << e->panels[i] << (int(i) == e->front ? " (front)" : "");
      out << "\n";
      if (!e->closed.empty()) out << "    closed: " << Join(e->closed) << "\n";
      return;
    }
    case TreeElement::kPlaceholder:
      out << "  closed frame: " << Join(e->closed) << "\n";
      return;
  }
}

// --- Graphviz -----------------------------------------------------------------------------

std::string Quoted(const std::string& text) {
  std::string q = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') q.push_back('\\');
    if (c == '\n') {
      q += "\\n";
      continue;
    }
    q.push_back(c);
  }
  return q + "\"";
}

class DotWriter {
 public:
  DotWriter(std::ostream& out, int window) : out_(out), prefix_("w" + std::to_string(window) + "_") {}

  // Writes the element and its subtree; returns its node name.
  std::string Write(const TreeElement& e, int maximizedFrame) {
    const std::string name = prefix_ + std::to_string(next_++);
    switch (e.kind) {
      case TreeElement::kSplitter:
        out_ << "    " << name << " [shape=ellipse, label="
             << Quoted((e.vertical ? "vertical " : "horizontal ") + FormatPlacement(e.placement))
             << "];\n";
        for (int side = 0; side < 2; ++side) {
          const TreeElement* child = e.children[std::size_t(side)].get();
          if (!child) continue;
          const std::string childName = Write(*child, maximizedFrame);
          const char* label = e.vertical ? (side == 0 ? "left" : "right") : (side == 0 ? "top" : "bottom");
          out_ << "    " << name << " -> " << childName << " [label=" << Quoted(label)
               << (e.visible[std::size_t(side)] ? "" : ", style=dashed") << "];\n";
        }
        break;
      case TreeElement::kFrame: {
        std::string label = "frame " + std::to_string(e.number);
        if (e.number == maximizedFrame) label += " (maximized)";
        for (std::size_t i = 0; i < e.panels.size(); ++i)
          label += "\n" + e.panels[i] + (int(i) == e.front ? " (front)" : "");
        if (!e.closed.empty()) label += "\nclosed: " + Join(e.closed);
        out_ << "    " << name << " [shape=box, label=" << Quoted(label) << "];\n";
        break;
      }
      case TreeElement::kPlaceholder:
        out_ << "    " << name << " [shape=box, style=dashed, label="
             << Quoted("closed frame\n" + Join(e.closed)) << "];\n";
        break;
    }
    return name;
  }

  void WriteEmpty() { out_ << "    " << prefix_ << "empty [shape=plaintext, label=\"no frames\"];\n"; }

 private:
  std::ostream& out_;
  std::string prefix_;
  int next_ = 0;
};

std::string PlaceText(const WindowOutline& w) {
  if (!w.place) return "no position";
  const auto& p = *w.place;
  return "at " + std::to_string(p[0]) + "," + std::to_string(p[1]) + ", size " +
         std::to_string(p[2]) + "x" + std::to_string(p[3]);
}

}  // namespace

DefinitionOutline ReadOutline(const PropList& definition) {
  DefinitionOutline outline;
  definition.GetValue("UserName", outline.userName);
  using kivworkspace::workspace::NumberedSubLists;
  // The lists the file holds below each count, however large the count.
  std::int32_t count = 0;
  definition.GetValue("SerCfgMax", count);
  for (std::int32_t n : NumberedSubLists(definition, "TopLevelFrame-", count))
    outline.windows.push_back(ReadWindow(*definition.GetSubList(Numbered("TopLevelFrame-", n)), n));
  if (const PropList* data = definition.GetSubList("WSInstanceData")) {
    std::int32_t records = 0;
    data->GetValue("FrameReanimMax", records);
    for (std::int32_t n : NumberedSubLists(*data, "FrameReanim-", records)) {
      const PropList& record = *data->GetSubList(Numbered("FrameReanim-", n));
      outline.closedWindows.push_back({Strings(record, "RemovedTabs"), Strings(record, "HiddenTabs")});
    }
  }
  return outline;
}

void WriteInfo(const DefinitionOutline& outline, std::ostream& out) {
  out << "name: " << (outline.userName.empty() ? "(none)" : kivcore::UTF16to8(outline.userName)) << "\n";
  for (const WindowOutline& w : outline.windows) {
    out << "window " << w.number << ": " << (w.main ? "main" : "floating") << ", " << PlaceText(w) << "\n";
    if (w.maximizedFrame >= 0) {
      out << "  maximized: frame " << w.maximizedFrame << "\n";
    } else if (w.maxFramePath) {
      out << "  maximized: path \"" << *w.maxFramePath << "\" leads to no frame\n";
    }
    if (!w.root) out << "  no frames\n";
    WriteFrames(w.root.get(), out);
  }
  for (std::size_t n = 0; n < outline.closedWindows.size(); ++n) {
    const ClosedWindowOutline& c = outline.closedWindows[n];
    out << "closed window " << n << ": " << Join(c.types);
    if (!c.kept.empty()) out << " (kept: " << Join(c.kept) << ")";
    out << "\n";
  }
}

void WriteDot(const DefinitionOutline& outline, std::ostream& out) {
  out << "digraph workspace {\n";
  out << "  label=" << Quoted(outline.userName.empty() ? "workspace" : kivcore::UTF16to8(outline.userName))
      << ";\n";
  for (const WindowOutline& w : outline.windows) {
    out << "  subgraph cluster_" << w.number << " {\n";
    out << "    label="
        << Quoted("window " + std::to_string(w.number) + ": " + (w.main ? "main" : "floating") + ", " + PlaceText(w))
        << ";\n";
    DotWriter writer(out, w.number);
    if (w.root) {
      writer.Write(*w.root, w.maximizedFrame);
    } else {
      writer.WriteEmpty();
    }
    out << "  }\n";
  }
  out << "}\n";
}

}  // namespace kivws
