// Long seeded sequences of random edits (adds on every side, removals with and without
// placeholders, reanimation, swaps, maximize and restore, window resizes). After each the
// tree keeps its invariants and its shown frames tile the window, and previews of an
// insertion and a removal leave the tree and every frame host as they were; the Graphviz
// dump of every sequence is checked with `dot`.
#include "LayoutTestHosts.h"
#include "../support/RequiredTool.h"

#include "layout/FrameDataProxy.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

using namespace kivtest;
using ws::Frame;
using ws::FrameDataProxy;
using ws::LayoutManager;
using ws::LayoutManagerElement;
using ws::Splitter;

namespace {

struct EditSession {
  RecordingWindowHost window;
  TestLayoutManager manager{&window};
  TreeBuilder tree{manager};
  std::mt19937 rng;
  Rect size{0, 0, 1200, 800};

  explicit EditSession(std::uint32_t seed) : rng(seed) {
    manager.SetRootFrame(tree.NewFrame(), size);
  }

  template <typename T>
  T* Pick(const std::vector<T*>& items) {
    return items.empty() ? nullptr : items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(rng)];
  }

  void Step() {
    const std::vector<Frame*> frames = manager.GetFrames();
    switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
      case 0: case 1: case 2: {
        Frame* target = rng() % 5 == 0 ? nullptr : Pick(frames);
        auto side = static_cast<LayoutManager::InsertionType>(rng() % 4);
        Frame* f = tree.NewFrame({static_cast<int>(rng() % 40), static_cast<int>(rng() % 40)});
        if (rng() % 4 == 0) tree.Host(f).setSnaps({{static_cast<int>(rng() % 300), 0}});
        tree.Host(f).setTabs({{"Type" + std::to_string(rng() % 5), "<proplist/>"}});
        if (manager.GetRoot()) {
          manager.AddFrame(target, side, f);
        } else {
          manager.SetRootFrame(f, size);
        }
        break;
      }
      case 3: case 4:
        if (Frame* f = Pick(frames); f && frames.size() > 1) {
          manager.RemoveFrame(f, rng() % 2 == 0, rng() % 2 == 0);
        }
        break;
      case 5: {
        const std::vector<FrameDataProxy*> placeholders = manager.GetPlaceholders();
        if (FrameDataProxy* p = Pick(placeholders)) {
          Frame* f = p->HasFrame() ? p->GetFrame() : tree.NewFrame();
          tree.Host(f).setShown(true);
          manager.ReanimateFrame(p, f);
        }
        break;
      }
      case 6:
        if (Frame* f = Pick(frames); f && f->GetParent()) manager.SwapFrame(f, tree.NewFrame());
        break;
      case 7:
        manager.SetMaximizedFrame(manager.HasMaximizedFrame() ? nullptr : Pick(frames));
        break;
      default:
        size = {0, 0, 200 + static_cast<int>(rng() % 1400), 150 + static_cast<int>(rng() % 900)};
        break;
    }
    manager.Layout(size, rng() % 2 == 0, true, false);
  }
};

// Frames in the tree are distinct, and every placeholder sits on a hidden side.
std::string TreeProblems(const LayoutManager& manager) {
  if (std::string s = manager.CheckStructure(); !s.empty()) return s;
  std::map<const Frame*, int> seen;
  for (const Frame* f : manager.GetFrames()) {
    if (++seen[f] > 1) return "a frame is in the tree twice";
  }
  for (const Splitter* s : manager.GetSplitters()) {
    (void)s;  // fully shown splitters have no placeholder child by definition
  }
  std::vector<LayoutManagerElement*> stack{manager.GetRoot()};
  while (!stack.empty()) {
    LayoutManagerElement* e = stack.back();
    stack.pop_back();
    Splitter* s = e ? e->AsSplitter() : nullptr;
    if (!s) continue;
    if (s->GetLeftOrTop()->AsPlaceholder() && s->IsLeftOrTopSubtreeVisible()) return "a shown placeholder";
    if (s->GetRightOrBottom()->AsPlaceholder() && s->IsRightOrBottomSubtreeVisible()) return "a shown placeholder";
    stack.push_back(s->GetLeftOrTop());
    stack.push_back(s->GetRightOrBottom());
  }
  return {};
}

// The frames the last layout placed: the maximized one, or those under present sides.
void Placed(const LayoutManager& manager, LayoutManagerElement* e, std::vector<Frame*>& out) {
  if (manager.GetMaximizedFrame()) {
    if (out.empty()) out.push_back(manager.GetMaximizedFrame());
    return;
  }
  if (!e) return;
  if (Frame* f = e->AsFrame()) {
    if (f->IsFrameShown()) out.push_back(f);
    return;
  }
  Splitter* s = e->AsSplitter();
  if (!s) return;
  if (s->IsLeftOrTopSubtreeVisible()) Placed(manager, s->GetLeftOrTop(), out);
  if (s->IsRightOrBottomSubtreeVisible()) Placed(manager, s->GetRightOrBottom(), out);
}

std::string Dump(const LayoutManager& manager) {
  std::ostringstream out;
  manager.DumpToGraphvis(out);
  return out.str();
}

// Previews on random frames must not change the real tree or any real host.
std::string PreviewProblems(EditSession& session) {
  const std::vector<Frame*> frames = session.manager.GetFrames();
  Frame* target = session.Pick(frames);
  if (!target || session.manager.HasMaximizedFrame()) return {};
  const std::string before = Dump(session.manager);
  std::vector<Rect> rects;
  std::vector<int> placements;
  for (const auto& h : session.tree.Hosts()) {
    rects.push_back(h->rect());
    placements.push_back(h->placedCount());
  }
  Frame* dragged = session.tree.NewFrame();
  const Rect added = session.manager.PreviewAddFrame(
      target, static_cast<LayoutManager::InsertionType>(session.rng() % 4), dragged);
  if (target->GetParent() && target->IsFrameShown() && added.IsEmpty() &&
      !session.tree.Host(target).rect().IsEmpty() && session.tree.Host(target).rect().width > 1 &&
      session.tree.Host(target).rect().height > 1) {
    return "an insertion preview beside a shown frame gave nothing";
  }
  session.manager.PreviewRemoveFrame(target, nullptr);
  if (Dump(session.manager) != before) return "a preview changed the tree";
  for (std::size_t i = 0; i < rects.size(); ++i) {
    if (session.tree.Hosts()[i]->rect() != rects[i] ||
        session.tree.Hosts()[i]->placedCount() != placements[i]) {
      return "a preview reached a real frame host";
    }
  }
  return {};
}

std::string TilingProblems(EditSession& session) {
  std::vector<Frame*> placed;
  Placed(session.manager, session.manager.GetRoot(), placed);
  if (placed.empty()) return {};
  long long area = 0;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const Rect r = session.tree.Host(placed[i]).rect();
    const Rect& w = session.size;
    if (r.width < 0 || r.height < 0 || r.left < w.left || r.top < w.top || r.Right() > w.Right() ||
        r.Bottom() > w.Bottom()) {
      std::ostringstream why;
      why << r << " is not inside " << w;
      return why.str();
    }
    area += static_cast<long long>(r.width) * r.height;
    for (std::size_t j = 0; j < i; ++j) {
      if (r.Intersects(session.tree.Host(placed[j]).rect())) return "two frames overlap";
    }
  }
  if (area != static_cast<long long>(session.size.width) * session.size.height) return "a gap";
  return {};
}

bool DotAccepts(const std::string& graph, std::string& error) {
  char path[] = "/tmp/kivdumpXXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) return false;
  ::close(fd);
  std::ofstream(path) << graph;
  const std::string command = std::string("dot -Tcanon ") + path + " >/dev/null 2>" + path + ".err";
  const int rc = std::system(command.c_str());
  std::ifstream err(std::string(path) + ".err");
  error.assign(std::istreambuf_iterator<char>(err), {});
  std::remove(path);
  std::remove((std::string(path) + ".err").c_str());
  return rc == 0;
}

}  // namespace

TEST(RequiredTools, AMissingToolIsNamedWithItsPackage) {
  EXPECT_TRUE(kivtest::ToolInstalled("sh", "dash"));
  const auto missing = kivtest::ToolInstalled("kiv-no-such-tool", "kiv-tools");
  EXPECT_FALSE(missing);
  EXPECT_STREQ(missing.message(),
               "kiv-no-such-tool is missing: install the Debian package kiv-tools "
               "(scripts/bootstrap installs it)");
}

TEST(LayoutEditProperties, RandomEditSequencesKeepTheTreeSound) {
  ASSERT_TRUE(kivtest::ToolInstalled("dot", "graphviz"));
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    EditSession session(seed);
    for (int step = 0; step < 150; ++step) {
      session.Step();
      const std::string tree = TreeProblems(session.manager);
      ASSERT_EQ(tree, "") << "seed " << seed << ", step " << step;
      const std::string tiling = TilingProblems(session);
      ASSERT_EQ(tiling, "") << "seed " << seed << ", step " << step;
      const std::string preview = PreviewProblems(session);
      ASSERT_EQ(preview, "") << "seed " << seed << ", step " << step;
    }
    std::ostringstream dump;
    session.manager.DumpToGraphvis(dump);
    std::string error;
    ASSERT_TRUE(DotAccepts(dump.str(), error)) << "seed " << seed << ": " << error << "\n" << dump.str();
  }
}
