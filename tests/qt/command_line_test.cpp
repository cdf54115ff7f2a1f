// What `kalvena` makes of its command line and of a session without a display, in both of the
// languages it answers in.
#include "command_line.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace kalvena::qt {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, EachArgumentIsTakenOrNamed) {
  struct Row {
    std::vector<std::string_view> args;
    Language language;
    Action action;
    int status;
    std::string_view says;  // the start of what it prints
  };
  const Row rows[] = {
      {{}, Language::English, Action::Run, 0, ""},
      {{"-platform", "xcb", "-reverse", "--style=Fusion"}, Language::English, Action::Run, 0, ""},
      {{"--help"},
       Language::English,
       Action::Help,
       0,
       "Usage: kalvena [OPTION] [DESIGN.kalvena]\n"},
      {{"-h"},
       Language::Bulgarian,
       Action::Help,
       0,
       "Употреба: kalvena [ОПЦИЯ] [ПРОЕКТ.kalvena]\n"},
      {{"-v", "--bogus"}, Language::English, Action::Version, 0, "Kalvena 1.2.3\n"},
      {{"--bogus"},
       Language::English,
       Action::Error,
       2,
       "kalvena: unknown option '--bogus'; see 'kalvena --help'\n"},
      {{"-platform"},
       Language::Bulgarian,
       Action::Error,
       2,
       "kalvena: липсва стойност на опцията „-platform“; вижте „kalvena --help“\n"},
      {{"a.kalvena"}, Language::English, Action::Run, 0, ""},
      {{"a.kalvena", "b.kalvena"},
       Language::English,
       Action::Error,
       2,
       "kalvena: an argument too many 'b.kalvena'; see 'kalvena --help'\n"},
  };
  for (const Row& r : rows) {
    const CommandLine line = readCommandLine(r.args, "1.2.3", r.language);
    const std::string what = r.args.empty() ? "no arguments" : std::string(r.args.front());
    EXPECT_EQ(line.action, r.action) << what;
    EXPECT_EQ(line.status, r.status) << what;
    EXPECT_TRUE(line.text.starts_with(r.says)) << what << ": " << line.text;
    if (line.action == Action::Run && r.args.size() == 1) {
      EXPECT_EQ(line.file, r.args.front());
    }
  }
}

TEST(CommandLine, AWaylandSessionWithoutItsDisplayFallsBackOrSaysWhatIsMissing) {
  struct Row {
    const char* what;
    std::map<std::string, std::string> env;
    bool plugin;
    bool socketThere;
    std::string platform;
    std::string problem;
  };
  const std::map<std::string, std::string> session{{"XDG_SESSION_TYPE", "wayland"},
                                                   {"XDG_RUNTIME_DIR", "/run/user/1"}};
  auto with = [&](std::map<std::string, std::string> more) {
    more.insert(session.begin(), session.end());
    return more;
  };
  const Row rows[] = {
      {"an X session", {{"DISPLAY", ":0"}}, false, false, "", ""},
      {"Wayland answers", session, true, true, "", ""},
      {"no plugin, Xwayland there", with({{"DISPLAY", ":0"}}), false, true, "xcb", ""},
      {"no plugin, no X", session, false, true, "",
       "Qt's Wayland platform plugin is not installed (the package qt6-wayland brings it)"},
      {"no socket", session, true, false, "",
       "no Wayland display answers (there is no /run/user/1/wayland-0)"},
      {"no runtime folder",
       {{"QT_QPA_PLATFORM", "wayland"}},
       true,
       true,
       "",
       "no Wayland display answers (XDG_RUNTIME_DIR is not set)"},
  };
  for (const Row& r : rows) {
    const auto getenv = [&](const char* name) {
      const auto found = r.env.find(name);
      return found == r.env.end() ? std::string() : found->second;
    };
    const PlatformChoice choice = choosePlatform(
        getenv, r.plugin, [&](const std::string&) { return r.socketThere; }, Language::English);
    EXPECT_EQ(choice.platform, r.platform) << r.what;
    EXPECT_EQ(choice.problem, r.problem) << r.what;
  }
  const auto none = [](const char*) { return std::string(); };
  EXPECT_EQ(displayProblem(none, Language::Bulgarian),
            "не е зададен дисплей (променливата DISPLAY е празна)");
}

}  // namespace
}  // namespace kalvena::qt
