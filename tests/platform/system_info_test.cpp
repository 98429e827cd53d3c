#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QProcess>
#include <QProcessEnvironment>
#include <ostream>
#include <string>

#include "config/lang_texts.h"

namespace numvex {
namespace {

constexpr int kWaitMs = 30000;  // a safety net for a hung helper, not a measure

struct LocaleCase {
  const char* name;
  char decimal;
  char thousands;
  uint16_t lang_id;
};

std::ostream& operator<<(std::ostream& os, const LocaleCase& c) { return os << c.name; }

class LocaleTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleTest, SeparatorsAndLanguage) {
  const QLocale locale(QString::fromLatin1(GetParam().name));
  const Separators seps = SeparatorsOf(locale);
  EXPECT_EQ(seps.decimal, GetParam().decimal);
  EXPECT_EQ(seps.thousands, GetParam().thousands);
  EXPECT_EQ(LangIdOf(locale), GetParam().lang_id);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocaleTest,
    ::testing::Values(LocaleCase{"de_DE", ',', '.', 0x0407}, LocaleCase{"en_US", '.', ',', 0x0409},
                      LocaleCase{"C", '.', ',', 0x0409}, LocaleCase{"en_GB", '.', ',', 0x0809},
                      // A narrow no-break space has no byte in the code page: the tape's rule
                      // puts "." after a "," decimal.
                      LocaleCase{"fr_FR", ',', '.', 0x040C},
                      // The Swiss group separator is the right single quote, byte 0x92.
                      LocaleCase{"de_CH", '.', '\x92', 0x0807},
                      // Arabic digits' separators are not in the code page at all.
                      LocaleCase{"ar_EG", '.', ',', 0x0409}));

// What a program started with these settings in its environment reads.
std::string ProbeWith(const QString& variable, const QString& value) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_MESSAGES", "LANG", "LANGUAGE"}) {
    env.remove(name);
  }
  env.insert(variable, value);
  QProcess probe;
  probe.setProcessEnvironment(env);
  probe.start(NUMVEX_LOCALE_PROBE, QStringList{});
  if (!probe.waitForFinished(kWaitMs)) return "did not finish";
  return probe.readAllStandardOutput().trimmed().toStdString();
}

struct EnvironmentCase {
  const char* variable;
  const char* value;
  const char* expected;
};

std::ostream& operator<<(std::ostream& os, const EnvironmentCase& c) {
  return os << c.variable << "=" << c.value;
}

class RegionalSettingsTest : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(RegionalSettingsTest, ComeFromTheEnvironment) {
  EXPECT_EQ(ProbeWith(GetParam().variable, GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegionalSettingsTest,
                         ::testing::Values(EnvironmentCase{"LC_ALL", "de_DE.UTF-8", ",. 0407"},
                                           EnvironmentCase{"LC_ALL", "en_US.UTF-8", "., 0409"},
                                           EnvironmentCase{"LC_ALL", "C", "., 0409"},
                                           EnvironmentCase{"LANG", "de_CH.UTF-8", ".\x92 0807"},
                                           EnvironmentCase{"LANG", "en_GB.UTF-8", "., 0809"}));

TEST(LanguageFromLocaleTest, GermanLocaleMeansGermanInterface) {
  EXPECT_EQ(DetectLanguage(LangIdOf(QLocale("de_DE"))), 0);
  EXPECT_EQ(DetectLanguage(LangIdOf(QLocale("en_US"))), 1);
}

std::string CommandOutput(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(kWaitMs)) return std::string();
  return process.readAllStandardOutput().trimmed().toStdString();
}

TEST(SystemNamesTest, UserNameIsWhatIdSays) {
  const std::string expected = CommandOutput("id", {"-un"});
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(UserName(), expected);
}

TEST(SystemNamesTest, ComputerNameIsWhatHostnameSays) {
  const std::string expected = CommandOutput("hostname", {});
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ComputerName(), expected);
}

}  // namespace
}  // namespace numvex
