#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QProcess>
#include <QProcessEnvironment>
#include <string>

#include "config/lang_texts.h"

namespace numvex {
namespace {

constexpr int kWaitMs = 30000;  // a safety net for a hung helper, not a measure

TEST(LocaleTest, SeparatorsAndLanguage) {
  // A narrow no-break space has no byte in the code page: the tape's rule puts "." after a ","
  // decimal. The Swiss group separator is the right single quote, byte 0x92. Arabic digits'
  // separators are not in the code page at all.
  // clang-format off
  const struct { const char* name; char decimal, thousands; uint16_t lang_id; } kCases[] = {
      {"de_DE", ',', '.', 0x0407}, {"en_US", '.', ',', 0x0409}, {"C", '.', ',', 0x0409},
      {"en_GB", '.', ',', 0x0809}, {"fr_FR", ',', '.', 0x040C}, {"de_CH", '.', '\x92', 0x0807},
      {"ar_EG", '.', ',', 0x0409}};
  // clang-format on
  for (const auto& c : kCases) {
    const QLocale locale(QString::fromLatin1(c.name));
    const Separators seps = SeparatorsOf(locale);
    EXPECT_EQ(seps.decimal, c.decimal) << c.name;
    EXPECT_EQ(seps.thousands, c.thousands) << c.name;
    EXPECT_EQ(LangIdOf(locale), c.lang_id) << c.name;
  }
  EXPECT_EQ(DetectLanguage(LangIdOf(QLocale("de_DE"))), 0);
  EXPECT_EQ(DetectLanguage(LangIdOf(QLocale("en_US"))), 1);
}

// What a program started with one of these settings in its environment reads.
TEST(RegionalSettingsTest, ComeFromTheEnvironment) {
  // clang-format off
  const struct { const char* variable; const char* value; const char* expected; } kCases[] = {
      {"LC_ALL", "de_DE.UTF-8", ",. 0407"}, {"LC_ALL", "en_US.UTF-8", "., 0409"},
      {"LC_ALL", "C", "., 0409"}, {"LANG", "de_CH.UTF-8", ".\x92 0807"},
      {"LANG", "en_GB.UTF-8", "., 0809"}};
  // clang-format on
  for (const auto& c : kCases) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_MESSAGES", "LANG", "LANGUAGE"}) {
      env.remove(name);
    }
    env.insert(c.variable, c.value);
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(NUMVEX_LOCALE_PROBE, QStringList{});
    ASSERT_TRUE(probe.waitForFinished(kWaitMs));
    EXPECT_EQ(probe.readAllStandardOutput().trimmed().toStdString(), c.expected) << c.value;
  }
}

std::string CommandOutput(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(kWaitMs)) return std::string();
  return process.readAllStandardOutput().trimmed().toStdString();
}

TEST(SystemNamesTest, UserAndComputerNameAreWhatIdAndHostnameSay) {
  const std::string user = CommandOutput("id", {"-un"});
  const std::string computer = CommandOutput("hostname", {});
  ASSERT_FALSE(user.empty() || computer.empty());
  EXPECT_EQ(UserName(), user);
  EXPECT_EQ(ComputerName(), computer);
}

}  // namespace
}  // namespace numvex
