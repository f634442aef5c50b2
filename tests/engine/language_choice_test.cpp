#include "engine/language_choice.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using engine::chooseStartupLanguage;

TEST(StartupLanguage, InstallerNameWinsOnce)
{
    const auto us = chooseStartupLanguage(std::string("U.S. English"), std::string("Srpski"));
    EXPECT_EQ(us.name, "English");
    EXPECT_EQ(us.iLang, "Finished");
    EXPECT_EQ(us.createJezik, "") << "Jezik is not consulted then";

    const auto other = chooseStartupLanguage(std::string("Deutsch"), std::nullopt);
    EXPECT_EQ(other.name, "Deutsch");
    EXPECT_EQ(other.createJezik, "");
}

TEST(StartupLanguage, AfterwardsJezikDecides)
{
    EXPECT_EQ(chooseStartupLanguage(std::string("Finished"), std::string("English")).name, "English");
    const auto fresh = chooseStartupLanguage(std::string("Finished"), std::nullopt);
    EXPECT_EQ(fresh.name, "Srpski");
    EXPECT_EQ(fresh.createJezik, "Srpski");
    EXPECT_EQ(chooseStartupLanguage(std::string("Finished"), std::string("0")).name, "Srpski");
}

TEST(StartupLanguage, EmptyNameBecomesTheDefault)
{
    // First start without an installer value: iLang is created empty.
    const auto first = chooseStartupLanguage(std::nullopt, std::nullopt);
    EXPECT_EQ(first.name, "Srpski");
    EXPECT_EQ(first.iLang, "Finished");
    EXPECT_EQ(chooseStartupLanguage(std::string(""), std::nullopt).name, "Srpski");
    EXPECT_EQ(chooseStartupLanguage(std::string("Finished"), std::string("")).name, "Srpski");
}

TEST(LanguageFiles, ShippedLanguagesAreListed)
{
    const std::string folder = std::string(VELMORA_DATA_DIR) + "/";
    const auto names = engine::availableLanguages(folder);
    EXPECT_EQ(names, (std::vector<std::string>{"English", "Srpski"}));
    EXPECT_TRUE(engine::availableLanguages("/no/such/folder/").empty());
}

TEST(LanguageFiles, MissingLanguageFallsBackToAShippedOne)
{
    const std::string folder = std::string(VELMORA_DATA_DIR) + "/";
    EXPECT_EQ(engine::existingLanguage(folder, "English"), "English");
    EXPECT_EQ(engine::existingLanguage(folder, "Klingon"), "Srpski");
    EXPECT_EQ(engine::existingLanguage("/no/such/folder/", "Klingon"), "Klingon");
}

} // namespace
