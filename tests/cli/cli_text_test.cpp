#include "cli/cli.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

// The tests run with VELMORA_HOME pointing at the build's program folder,
// which holds a copy of data/Lang.

cli::Context contextFor(const std::string& language, std::ostream& err)
{
    cli::Context ctx;
    ctx.languageName = language;
    ctx.err = &err;
    return ctx;
}

TEST(CliText, UsesTheLanguageFileFollowedByDetails)
{
    std::ostringstream err;
    const cli::Context ctx = contextFor("English", err);
    const std::string t = ctx.text(engine::Status(engine::Msg::CannotReadProject, {"job.vlp"}));
    EXPECT_TRUE(t.starts_with("The project file cannot be read")) << t;
    EXPECT_TRUE(t.ends_with(" job.vlp")) << t;
    EXPECT_EQ(t.find("(message"), std::string::npos);
    EXPECT_TRUE(err.str().empty());
}

TEST(CliText, SerbianIsTheDefaultLanguage)
{
    std::ostringstream err;
    const cli::Context ctx = contextFor(engine::Settings{}.Jezik, err);
    EXPECT_TRUE(ctx.text(engine::Status(engine::Msg::CannotOpenProject)).starts_with("Datoteka projekta ne može"));
}

TEST(CliText, FallsBackWithoutALanguageFile)
{
    std::ostringstream err;
    const cli::Context ctx = contextFor("NoSuchLanguage", err);
    EXPECT_EQ(ctx.text(engine::Status(engine::Msg::CannotReadProject, {"a", "b"})),
              "The project file cannot be read: it is damaged or not a Velmora project. The rows read before the "
              "error have been kept; check them before saving. (message 288) a b");
    EXPECT_EQ(ctx.language(), nullptr);
}

} // namespace
