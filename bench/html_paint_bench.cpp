// One paint of an HTML view holding 100, 1,000 and 10,000 chat lines: the repaint of unchanged
// content, the paint after one more line arrived (what a chat does all day), and the first
// paint of the whole content (a full parse and layout, which is what every paint cost before
// the layout was kept between paints). Runs off screen when there is no display.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "platform/window.h"
#include "ui/html_wnd.h"
#include "ui/wnd_stack.h"

namespace {

const WCHAR* kLine =
    u"<B>anna@example.org says:</B><BR></BR>Hello there, did you see "
    u"<A HREF=\"http://example.org/news\">the news</A> today? It was quite something "
    u"<IMG SRC = \"IDB_EMOTICON_HAPPY\"></IMG><BR></BR>";

LOGFONT ChatFont() {
  LOGFONT font{};
  font.lfHeight = -12;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  return font;
}

struct View {
  MWndStack stack;
  std::unique_ptr<MHtmlWnd> window;
  explicit View(int lines) {
    window = std::make_unique<MHtmlWnd>(u"JBENCHHTML", nullptr, u"JBENCHHTML", &stack, ChatFont());
    window->Create(nullptr, 0, 0);
    MoveWindow(window->GetHwnd(), 0, 0, 480, 640, TRUE);
    window->Relayout();
    ProcessDisplayEvents();
    for (int i = 0; i < lines; ++i) {
      window->Append(kLine);
    }
    window->Redraw();
  }
  ~View() {
    DestroyWindow(window->GetHwnd());
    stack.Remove(window.get());
    ProcessDisplayEvents();
  }
};

void Repaint(benchmark::State& state) {
  View view(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    view.window->Redraw();
  }
}

void PaintAfterOneMoreLine(benchmark::State& state) {
  View view(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    view.window->Append(kLine);
    view.window->Redraw();
  }
}

void FirstPaintOfTheWhole(benchmark::State& state) {
  View view(static_cast<int>(state.range(0)));
  wmstring content = view.window->GetContent();
  for (auto _ : state) {
    view.window->Reset();
    view.window->Append(content.c_str());
    view.window->Redraw();
  }
}

BENCHMARK(Repaint)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(PaintAfterOneMoreLine)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstPaintOfTheWhole)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  if (!InitDisplay(&argc, argv)) {
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
