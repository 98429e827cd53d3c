#include "config/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace numvex::registry {
namespace {

constexpr char kOptions[] = "Software\\zel\\Numvex 3.0\\Options";

TEST(RegistryTest, TextAndDwordValuesSurviveTheTextForm) {
  std::string high(128, '\0');
  std::iota(high.begin(), high.end(), '\x80');  // bytes 128..255
  constexpr ValueType kT = ValueType::kText, kD = ValueType::kDword;
  // clang-format off
  const std::pair<std::string, Value> kCases[] = {{"", {kT, "default", 0}},
      {"quote\"d", {kT, "say \"hi\"", 0}}, {"back\\slash", {kT, "C:\\tapes\\", 0}},
      {"amp", {kT, "&File", 0}}, {"high", {kT, high, 0}}, {"empty", {kT, "", 0}},
      {"lines", {kT, "a\r\nb\\n", 0}}, {"zero", {kD, "", 0}}, {"max", {kD, "", 0xffffffffu}}};
  // clang-format on
  Hive hive;
  for (const auto& [name, v] : kCases) {
    Key* key = hive.OpenKey(kOptions, true);
    v.type == kT ? key->WriteText(name, v.text) : key->WriteDword(name, v.dword);
  }
  const std::string text = WriteReg(hive);
  Hive back;
  const Status parsed = ParseReg(text, back);
  ASSERT_TRUE(parsed.ok) << parsed.message;
  const Key* key = back.OpenKey(kOptions, false);
  ASSERT_NE(key, nullptr);
  for (const auto& [name, v] : kCases) {
    const Value r = key->Read(name);
    EXPECT_EQ(std::tie(r.type, r.text, r.dword), std::tie(v.type, v.text, v.dword)) << name;
  }
  EXPECT_EQ(WriteReg(back), text);
}

TEST(RegistryTest, TextFormIsSortedWithCrLfAndReadsLfToo) {
  Hive hive;
  hive.OpenKey("b", true)->WriteDword("Z", 0xAB);
  hive.OpenKey("B", true)->WriteText("a\\\"", "x");
  hive.OpenKey("a-c", true);
  hive.OpenKey("a\\d", true)->WriteText("", "q");
  const std::string expected =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\a]\r\n\r\n"
      "[HKEY_CURRENT_USER\\a\\d]\r\n@=\"q\"\r\n\r\n[HKEY_CURRENT_USER\\a-c]\r\n\r\n"
      "[HKEY_CURRENT_USER\\b]\r\n\"a\\\\\\\"\"=\"x\"\r\n\"Z\"=dword:000000ab\r\n\r\n";
  EXPECT_EQ(WriteReg(hive), expected);
  std::string lf = expected;
  lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
  ASSERT_TRUE(ParseReg(lf, hive).ok);
  EXPECT_EQ(WriteReg(hive), expected);
}

TEST(RegistryTest, KeysAndValueNamesIgnoreCase) {
  Hive hive;
  hive.OpenKey(kOptions, true)->WriteDword("Decimals", 2);
  Key* key = hive.OpenKey("\\SOFTWARE\\ZEL\\numvex 3.0\\options\\", false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Read("DECIMALS").dword, 2u);
  key->WriteText("decimals", "3");
  EXPECT_EQ(key->values().size(), 1u);
  EXPECT_EQ(key->Read("Decimals").type, ValueType::kText);
  EXPECT_TRUE(key->DeleteValue("DeCiMaLs"));
  EXPECT_EQ(key->Read("Decimals").type, ValueType::kAbsent);
  EXPECT_EQ(hive.OpenKey("Software\\other", false), nullptr);
  EXPECT_EQ(hive.OpenKey("\\\\", true), nullptr);
}

TEST(RegistryTest, DeletingAKeyTakesItsSubkeysOnly) {
  Hive hive;
  for (const char* path : {"s\\k\\a\\b", "s\\k\\c", "s\\k-x", "s\\kz", "s\\j"}) {
    hive.OpenKey(path, true);
  }
  EXPECT_TRUE(hive.DeleteKey("S\\K"));
  EXPECT_FALSE(hive.DeleteKey("s\\k"));
  for (const char* gone : {"s\\k", "s\\k\\a", "s\\k\\a\\b", "s\\k\\c"}) {
    EXPECT_FALSE(hive.KeyExists(gone)) << gone;
  }
  for (const char* kept : {"s", "s\\k-x", "s\\kz", "s\\j"}) EXPECT_TRUE(hive.KeyExists(kept));
}

TEST(RegistryTest, BadTextGivesTheLineAndWhatWasWrong) {
  const std::string h = "Windows Registry Editor Version 5.00\n\n";
  const std::pair<std::string, std::string> kCases[] = {
      {"", "line 1: missing header"},
      {"REGEDIT4\n", "line 1: missing header"},
      {h + "\"a\"=\"b\"\n", "line 3: value before any key"},
      {h + "[HKEY_CURRENT_USER\\a\n", "line 3: key line without closing bracket"},
      {h + "[HKEY_LOCAL_MACHINE\\a]\n", "line 3: key not under HKEY_CURRENT_USER"},
      {h + "[HKEY_CURRENT_USER\\]\n", "line 3: key not under HKEY_CURRENT_USER"},
      {h + "[HKEY_CURRENT_USER\\\\]\n", "line 3: key path empty or broken by a line break"},
      {h + "[HKEY_CURRENT_USER\\a]\nx=1\n", "line 4: unknown line"},
      {h + "[HKEY_CURRENT_USER\\a]\n\"a=\"b\"\n", "line 4: expected = after the value name"},
      {h + "[HKEY_CURRENT_USER\\a]\n\"a\"=\"b\n", "line 4: missing closing quote"},
      {h + "[HKEY_CURRENT_USER\\a]\n\"a\"=\"b\"c\n", "line 4: text after the closing quote"},
      {h + "[HKEY_CURRENT_USER\\a]\n@=\"\\t\"\n", "line 4: unknown escape \\t"},
      {h + "[HKEY_CURRENT_USER\\a]\n@=dword:0000000g\n", "line 4: a dword needs 8 hex digits"},
      {h + "[HKEY_CURRENT_USER\\a]\n@=hex:00\n", "line 4: expected an opening quote"},
  };
  Hive hive;
  for (const auto& [text, message] : kCases) {
    const Status status = ParseReg(text, hive);
    EXPECT_EQ(std::make_pair(status.ok, status.message), std::make_pair(false, message)) << text;
  }
}

}  // namespace
}  // namespace numvex::registry
