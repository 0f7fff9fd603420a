// The chat window with long conversations: appending one more message to a conversation of
// 10,000 and repainting (what a chat does all day), switching to that conversation (its whole
// history copied into the view, what shows laid out), the layout of the rest the view then does
// between other messages, a resize and a font change with 10,000 messages shown, and the memory
// 50 open conversations of 1,000 messages each take. Runs off screen when there is no display.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "base/settings/settings.h"
#include "platform/window.h"
#include "ui/chat_wnd.h"
#include "ui/wnd_stack.h"
#include "xml/text_convert.h"

namespace {

LOGFONT ChatFont() {
  LOGFONT font{};
  font.lfHeight = -12;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  return font;
}

// One incoming message as the dispatcher appends it: the speaker line, the formatted body
// (an emoticon and a link among ordinary words), the closing tags.
void AppendMessage(MChatWnd& chat, ChatRecord* record, int number) {
  chat.AppendToHistory(record, u"<P>", false);
  chat.AppendToHistory(record, u"<FONT COLOR=\"BLACK\">bob says: </FONT><FONT COLOR=\"BLUE\">",
                       false);
  std::string body = "Message " + std::to_string(number) +
                     ": did you see https://example.org/news?id=" + std::to_string(number) +
                     " today? It was quite something :-)";
  chat.AppendToHistory(record, utf8_to_wide(body.c_str()), true);
  chat.AppendToHistory(record, u"</FONT></P>", false);
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) {
      return std::atol(line.c_str() + 6);
    }
  }
  return 0;
}

struct Chat {
  MWndStack stack;
  MSettings settings;
  std::unique_ptr<MChatWnd> window;
  Chat() {
    window = std::make_unique<MChatWnd>(nullptr, &stack, ChatFont(), settings);
    window->Create(nullptr);
    MoveWindow(window->GetHwnd(), 0, 0, 480, 640, TRUE);
    window->Relayout();
    window->Show();
    ProcessDisplayEvents();
  }
  ChatRecord* Conversation(const std::string& jid, int messages) {
    RosterItem peer;
    peer.jid = jid.c_str();
    peer.name = utf8_to_wide(jid.c_str());
    ChatRecord* record = window->OpenChat(kChatOneToOne, u"me@example.org", peer);
    for (int i = 0; i < messages; ++i) {
      AppendMessage(*window, record, i);
    }
    return record;
  }
  // A conversation of `messages` shown and laid out whole.
  void ShowLaidOut(int messages) {
    window->SetCurrentChat(Conversation("bob@example.org", messages));
    window->Redraw();
    window->FinishLayout();
  }
};

void AppendOneAndRepaint(benchmark::State& state) {
  Chat chat;
  ChatRecord* record = chat.Conversation("bob@example.org", static_cast<int>(state.range(0)));
  chat.window->SetCurrentChat(record);
  chat.window->Redraw();
  int number = 0;
  for (auto _ : state) {
    AppendMessage(*chat.window, record, ++number);
    chat.window->Redraw();
  }
}

// Back and forth between a short conversation and the long one: each switch to the long one
// copies its history into the view and lays it out (what is visible first); with `finish`, the
// layout of the rest that the posted slices then do is timed too: what the whole used to cost
// at once.
void SwitchBackAndForth(benchmark::State& state, bool finish) {
  Chat chat;
  ChatRecord* small = chat.Conversation("carol@example.org", 3);
  ChatRecord* large = chat.Conversation("bob@example.org", static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    chat.window->SetCurrentChat(small);
    chat.window->Redraw();
    state.ResumeTiming();
    chat.window->SetCurrentChat(large);
    chat.window->Redraw();
    if (finish) {
      chat.window->FinishLayout();
    }
  }
}

void SwitchToConversation(benchmark::State& state) {
  SwitchBackAndForth(state, false);
}

void SwitchAndFinishTheLayout(benchmark::State& state) {
  SwitchBackAndForth(state, true);
}

// The window made narrower and wider in turn with a long conversation shown: each size is laid
// out again.
void ResizeLongConversation(benchmark::State& state) {
  Chat chat;
  chat.ShowLaidOut(static_cast<int>(state.range(0)));
  int width = 480;
  for (auto _ : state) {
    width = width == 480 ? 420 : 480;
    MoveWindow(chat.window->GetHwnd(), 0, 0, width, 640, TRUE);
    chat.window->Relayout();
    chat.window->Redraw();
  }
}

// Another font size for a long conversation: everything is laid out again.
void FontChangeLongConversation(benchmark::State& state) {
  Chat chat;
  chat.ShowLaidOut(static_cast<int>(state.range(0)));
  LOGFONT font = ChatFont();
  for (auto _ : state) {
    font.lfHeight = font.lfHeight == -12 ? -14 : -12;
    chat.window->SetFontIndirect(chat.window->GetView(), font);
    chat.window->Redraw();
  }
}

void MemoryOfOpenConversations(benchmark::State& state) {
  for (auto _ : state) {
    long before = ResidentKilobytes();
    Chat chat;
    const int conversations = 50;
    const int messages = 1000;
    for (int i = 0; i < conversations; ++i) {
      chat.window->SetCurrentChat(
          chat.Conversation("c" + std::to_string(i) + "@example.org", messages));
      chat.window->Redraw();  // each conversation shown once
    }
    long after = ResidentKilobytes();
    state.counters["resident_MB"] = static_cast<double>(after) / 1024.0;
    state.counters["added_MB"] = static_cast<double>(after - before) / 1024.0;
    state.counters["bytes_per_message"] =
        static_cast<double>(after - before) * 1024.0 / (conversations * messages);
  }
}

BENCHMARK(AppendOneAndRepaint)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(SwitchToConversation)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(SwitchAndFinishTheLayout)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ResizeLongConversation)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(FontChangeLongConversation)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryOfOpenConversations)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The settings come from a profile of its own unless one is chosen.
  char profile[] = "/tmp/orvik-bench-XXXXXX";
  if (std::getenv("ORVIK_HOME") == nullptr && mkdtemp(profile) != nullptr) {
    setenv("ORVIK_HOME", profile, 1);
  }
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
