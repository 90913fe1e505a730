// Renders every control of the UI framework to PNG files, in the dark theme, without a
// display: kivui-gallery OUTDIR. Prints the paths; exits 1 when a picture is missing or
// blank (a control that drew nothing).
#include "services/core/Console.h"
#include "services/ui/testing/Input.h"
#include "services/ui/testing/Snapshot.h"
#include "services/ui/ui.h"

#include <cstdio>
#include <filesystem>
#include <set>

using kivcore::RectF;
using namespace kivui;

namespace {

// A 16x16 monochrome icon drawn in code: a play triangle, a film frame or a wave.
Image Icon(int kind) {
  return RenderImage(16, 16, [kind](Drawbot& d) {
    const Color white = Color::RGB(255, 255, 255);
    if (kind == 0) d.FillPolygon({{4, 2}, {14, 8}, {4, 14}}, white);
    if (kind == 1) {
      d.FrameRect({1, 3, 14, 10}, white, 1.5f);
      for (float x : {3.0f, 7.0f, 11.0f}) d.FillRect({x, 4.5f, 2, 1.5f}, white);
    }
    if (kind == 2) {
      for (int i = 0; i < 7; ++i) {
        const float h = float((i * 5) % 11 + 3);
        d.FillRect({float(1 + i * 2), 8 - h / 2, 1.5f, h}, white);
      }
    }
  });
}

// A titled section of the gallery.
class Section : public UI_Container {
 public:
  explicit Section(std::string title) : UI_Container("Section"), title_(std::move(title)) {}
  void UI_Draw(Drawbot& d, const RectF&) override {
    const ThemeColors& t = ThemeColors::Current();
    const RectF b = GetLocalBounds();
    d.FillRect(b, t.panel);
    d.FillRect({0, 0, b.width, 22}, t.header);
    d.DrawText(title_, {10, 0, b.width - 20, 22}, Font::Bold(11), t.textDim, kAlignLeft | kAlignVCenter);
  }

 private:
  std::string title_;
};

template <typename T>
std::shared_ptr<T> Place(UI_Container& parent, std::shared_ptr<T> node, RectF frame) {
  node->SetFrame(frame);
  parent.PushBack(node);
  return node;
}

UI_TabItem Tab(int id, std::string text, std::string label = {}) {
  UI_TabItem t;
  t.id = id;
  t.text = std::move(text);
  t.label = std::move(label);
  return t;
}

struct Gallery {
  std::shared_ptr<OS_Window> window = std::make_shared<OS_Window>("Gallery");
  std::vector<std::pair<std::string, std::shared_ptr<UI_Node>>> shots;

  void Build() {
    window->UI_CreateWindow("kivui gallery", nullptr, {40, 40, 960, 640}, OS_Window::kMainWindow);
    auto background = Place(*window, std::make_shared<Section>("kivui controls"), {0, 0, 960, 640});
    BuildTabWells(*background);
    BuildButtons(*background);
    BuildFields(*background);
    BuildTree(*background);
    BuildProgress(*background);
    BuildConsole(*background);
    window->UI_Show(true);
  }

  void BuildTabWells(UI_Container& parent) {
    auto section = Place(parent, std::make_shared<Section>("Tab wells: focused frame, other frame, overflow"),
                         {10, 32, 600, 150});
    auto focused = Place(*section, std::make_shared<UI_TabWell>(), {8, 30, 584, UI_TabWell::kTabHeight});
    focused->AddTab(Tab(1, "Timeline", "Sequence 01"));
    UI_TabItem effects = Tab(2, "Effect Controls");
    effects.color = Color::RGB(0xE8, 0xA3, 0x3D);
    focused->AddTab(effects);
    UI_TabItem mixer = Tab(3, "Audio Mixer");
    mixer.locked = true;
    focused->AddTab(mixer);
    UI_TabItem stack = Tab(4, "Scopes");
    stack.multiTabMark = true;
    focused->AddTab(stack);
    focused->SetActive(true);
    auto other = Place(*section, std::make_shared<UI_TabWell>(), {8, 70, 584, UI_TabWell::kTabHeight});
    for (auto [id, name] : {std::pair{1, "Media Bin"}, {2, "Markers"}, {3, "Effects Library"}}) other->AddTab(Tab(id, name));
    other->SetFrontTab(2);
    auto overflow = Place(*section, std::make_shared<UI_TabWell>(), {8, 110, 330, UI_TabWell::kTabHeight});
    for (int i = 1; i <= 7; ++i) overflow->AddTab(Tab(i, "Clip Viewer " + std::to_string(i)));
    overflow->SetFrontTab(6);
    shots.emplace_back("tabwells", section);
  }

  void BuildButtons(UI_Container& parent) {
    auto section = Place(parent, std::make_shared<Section>("Buttons"), {620, 32, 330, 150});
    Place(*section, std::make_shared<UI_Button>("Cancel"), {10, 32, 90, 26});
    auto ok = Place(*section, std::make_shared<UI_Button>("Render"), {110, 32, 90, 26});
    ok->SetDefault(true);
    auto disabled = Place(*section, std::make_shared<UI_Button>("Export"), {210, 32, 90, 26});
    disabled->SetEnabled(false);
    Place(*section, std::make_shared<UI_PictureButton>(Icon(0)), {10, 70, 30, 26});
    auto selected = Place(*section, std::make_shared<UI_PictureButton>(Icon(1)), {46, 70, 30, 26});
    selected->SetSelected(true);
    Place(*section, std::make_shared<UI_PictureButton>(Icon(2), "Audio Track"), {82, 70, 130, 26});
    auto popup = Place(*section, std::make_shared<UI_Popup>(), {10, 108, 190, 26});
    popup->SetItems({{1, "Fit", true}, {2, "100%", true}, {3, "50%", true}});
    popup->SetSelectedID(2);
    Place(*section, std::make_shared<UI_TablessDragger>(), {210, 112, 110, 14});
    shots.emplace_back("buttons", section);
  }

  void BuildFields(UI_Container& parent) {
    auto section = Place(parent, std::make_shared<Section>("Text and scroll bars"), {10, 192, 300, 150});
    auto field = Place(*section, std::make_shared<UI_TextEdit>(), {10, 32, 280, 24});
    field->SetText("Colour Grade v2");
    auto empty = Place(*section, std::make_shared<UI_TextEdit>(), {10, 64, 280, 24});
    empty->SetPlaceholder("Search effects");
    auto label = Place(*section, std::make_shared<UI_StaticText>("Timecode 01:00:12:07", Font::Mono(13)), {10, 96, 280, 20});
    label->SetColor(ThemeColors::Current().accent);
    auto bar = Place(*section, std::make_shared<UI_ScrollBar>(false), {10, 124, 280, float(UI_ScrollBar::GetDefaultSize())});
    bar->SetRange(0, 100);
    bar->SetPageStep(30);
    bar->SetValue(35);
    shots.emplace_back("fields", section);
  }

  void BuildTree(UI_Container& parent) {
    auto section = Place(parent, std::make_shared<Section>("Multi-column tree"), {320, 192, 290, 250});
    auto tree = Place(*section, std::make_shared<UI_MultiColumnTree>(), {8, 30, 274, 212});
    tree->SetColumns({{"Workspace", 150}, {"Kind", 90}});
    tree->SetRows({{1, {"Editing", "Built-in"}, Icon(1), true, false, {}},
                   {2, {"Colour", "Built-in"}, Icon(1), true, false, {}},
                   {3, {"Audio", "System"}, Icon(2), true, false, {}},
                   {4, {"My Layouts", "Folder"}, {}, true, false,
                    {{5, {"Two Monitors", "User"}, Icon(0), true, true, {}},
                     {6, {"Review", "User"}, Icon(0), true, true, {}}}}});
    tree->SelectRow(2);
    shots.emplace_back("tree", section);
  }

  void BuildProgress(UI_Container& parent) {
    auto& container = utility::ProgressCategoryContainer::Get();
    auto downloads = container.GetOrCreateCategory(u"Downloads");
    downloads->SetShowCountInProgress(true);
    auto a = downloads->CreateItem(u"interview_cam_a.mov");
    a->SetProgress(62, 100);
    a->SetStatusMessage(u"1.2 GB of 1.9 GB, 48 MB/s");
    auto b = downloads->CreateItem(u"b-roll_city_night.mp4");
    b->SetProgress(30, 100);
    b->SetState(utility::ProgressItem::kPaused);
    b->SetStatusMessage(u"Paused at 300 MB");
    auto renders = container.GetOrCreateCategory(u"Renders");
    auto c = renders->CreateItem(u"Sequence 01 - Preview");
    c->SetProgress(100, 100);
    c->SetState(utility::ProgressItem::kCompleted);
    c->SetStatusMessage(u"Finished in 2:41");
    auto section = Place(parent, std::make_shared<Section>("Progress"), {620, 192, 330, 250});
    Place(*section, std::make_shared<utility::ProgressCategoryContainerView>(container), {0, 22, 330, 228});
    shots.emplace_back("progress", section);
  }

  void BuildConsole(UI_Container& parent) {
    auto section = Place(parent, std::make_shared<Section>("Console"), {10, 452, 940, 178});
    kivcore::console::RegisterCommand("media.count", "counts the media", [](const auto&, auto& out) {
      out.WriteLine(std::string_view("128 clips, 14 sequences, 3 audio files"));
    });
    auto console = Place(*section, std::make_shared<ConsoleView>(), {0, 22, 940, 156});
    console->RunCommandLine("media.count");
    console->RunCommandLine("con.help");
    shots.emplace_back("console", section);
  }
};

// A picture with a single colour means the control drew nothing.
bool IsBlank(const Image& image) {
  std::set<std::uint32_t> colours;
  for (int y = 0; y < image.Height(); y += 3) {
    for (int x = 0; x < image.Width(); x += 3) {
      const Color c = image.PixelAt(x, y);
      colours.insert(std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b);
      if (colours.size() > 2) return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv, "offscreen");
  if (argc != 2) {
    std::fprintf(stderr, "usage: kivui-gallery OUTDIR\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (ec) {
    std::fprintf(stderr, "kivui-gallery: cannot create %s: %s\n", out.c_str(), ec.message().c_str());
    return 1;
  }
  Gallery gallery;
  gallery.Build();
  testing::ProcessEvents(50);
  gallery.shots.emplace_back("gallery", gallery.window);
  int failures = 0;
  for (const auto& [name, node] : gallery.shots) {
    const std::string path = (out / (name + ".png")).string();
    testing::SaveSnapshotPNG(*node, path);
    const bool blank = IsBlank(Image::FromFile(path));
    std::printf("%s%s\n", path.c_str(), blank ? "  (blank!)" : "");
    failures += blank;
  }
  return failures == 0 ? 0 : 1;
}
