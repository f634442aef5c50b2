// Reading and writing files: special files as inputs and outputs, and the
// targets a save may and may not replace.
#include "engine/file_io.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/language_table.h"

using engine::Msg;
namespace fs = std::filesystem;

namespace {

class Folder {
public:
    Folder()
    {
        std::string pattern = (fs::temp_directory_path() / "velmora-io-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data()))
            m_path = made;
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    [[nodiscard]] std::string file(const std::string& name) const { return (m_path / name).string(); }
    [[nodiscard]] std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(m_path))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    fs::path m_path;
};

void put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string get(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A pid that surely runs no process: a child that has been reaped.
pid_t deadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

} // namespace

TEST(SpecialFiles, FifoIsRefusedWithoutWaitingForAWriter)
{
    Folder dir;
    const std::string fifo = dir.file("pipe.vlp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto r = engine::readWholeFile(fifo, engine::FileLimit::kProject);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().msg, Msg::FileNotRegular);
    EXPECT_EQ(r.error().args, (std::vector<std::string>{fifo}));
}

TEST(SpecialFiles, DevicesAndFoldersAreRefused)
{
    Folder dir;
    for (const std::string& path : {std::string("/dev/zero"), std::string("/dev/null"), dir.file("")}) {
        const auto r = engine::readWholeFile(path, engine::FileLimit::kSettings);
        ASSERT_FALSE(r.ok()) << path;
        EXPECT_EQ(r.error().msg, Msg::FileNotRegular) << path;
    }
    // A folder given as a language file is a message, not a stream exception.
    engine::LanguageTable table;
    EXPECT_EQ(table.load(dir.file("")), engine::LanguageTable::LoadResult::CannotOpen);
    EXPECT_EQ(table.problem().msg, Msg::FileNotRegular);
}

TEST(SpecialFiles, SizeLimitAndMissingFiles)
{
    Folder dir;
    put(dir.file("ten"), "0123456789");
    EXPECT_EQ(*engine::readWholeFile(dir.file("ten"), 10), "0123456789");
    const auto big = engine::readWholeFile(dir.file("ten"), 9);
    ASSERT_FALSE(big.ok());
    EXPECT_EQ(big.error().msg, Msg::FileTooLarge);
    const auto missing = engine::readWholeFile(dir.file("none"), 10);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().msg, Msg::FileMissing);
    // A link is followed to the file it names.
    fs::create_symlink(dir.file("ten"), dir.file("link"));
    EXPECT_EQ(*engine::readWholeFile(dir.file("link"), 10), "0123456789");
}

TEST(WriteTargets, SpecialFilesAreNeverReplaced)
{
    Folder dir;
    const std::string fifo = dir.file("pipe.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir.file("null-link.vlp"));
    fs::create_directory(dir.file("folder.vlp"));
    for (const std::string& path : {fifo, dir.file("null-link.vlp"), dir.file("folder.vlp"), std::string("/dev/null")})
        EXPECT_EQ(engine::writeFileAtomically(path, "x").msg, Msg::FileNotRegular) << path;
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_TRUE(fs::is_symlink(dir.file("null-link.vlp")));
    // No temporary was left beside them.
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"folder.vlp", "null-link.vlp", "pipe.json"}));
}

TEST(WriteTargets, ReadOnlyFileIsRefusedAndKept)
{
    Folder dir;
    const std::string file = dir.file("job.vlp");
    put(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    const engine::Status st = engine::writeFileAtomically(file, "new");
    EXPECT_EQ(st.msg, Msg::FileReadOnly);
    EXPECT_EQ(st.args, (std::vector<std::string>{file}));
    EXPECT_EQ(get(file), "old");
    EXPECT_TRUE(engine::isReadOnlyFile(file));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"job.vlp"}));
    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    EXPECT_FALSE(engine::isReadOnlyFile(file));
    EXPECT_TRUE(engine::writeFileAtomically(file, "new").ok());
    EXPECT_EQ(get(file), "new");
}

TEST(WriteTargets, ReplacementKeepsModeAndLinks)
{
    Folder dir;
    const std::string file = dir.file("job.vlp");
    put(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    fs::create_symlink(file, dir.file("alias.vlp"));
    ASSERT_TRUE(engine::writeFileAtomically(dir.file("alias.vlp"), "new").ok());
    EXPECT_TRUE(fs::is_symlink(dir.file("alias.vlp")));
    EXPECT_EQ(get(file), "new");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"alias.vlp", "job.vlp"}));
}

TEST(WriteTargets, ReplacementKeepsAnotherUsersOwnership)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can keep another user's ownership";
    Folder dir;
    const std::string file = dir.file("theirs.vlp");
    put(file, "old");
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(engine::writeFileAtomically(file, "new").ok());
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

TEST(WriteTargets, MissingFolderIsSaid)
{
    Folder dir;
    EXPECT_EQ(engine::writeFileAtomically(dir.file("no/such/job.vlp"), "x").msg, Msg::FolderNotWritable);
    EXPECT_EQ(engine::writeFileAtomically("", "x").msg, Msg::FolderNotWritable);
}

TEST(WriteTargets, TemporariesOfDeadProcessesAreRemoved)
{
    Folder dir;
    const std::string file = dir.file("job.vlp");
    const std::string dead = "job.vlp.~" + std::to_string(deadPid()) + "-7.tmp";
    const std::string alive = "job.vlp.~" + std::to_string(::getppid()) + "-1.tmp";
    const std::string other = "other.vlp.~" + std::to_string(deadPid()) + "-1.tmp";
    for (const std::string& n : {dead, alive, other})
        put(dir.file(n), std::string(1000, 'x'));
    EXPECT_TRUE(engine::isAtomicTemporaryOf(dead, "job.vlp"));
    EXPECT_FALSE(engine::isAtomicTemporaryOf(other, "job.vlp"));
    EXPECT_FALSE(engine::isAtomicTemporaryOf("job.vlp.~12-x.tmp", "job.vlp"));
    EXPECT_FALSE(engine::isAtomicTemporaryOf("job.vlp.tmp", "job.vlp"));

    ASSERT_TRUE(engine::writeFileAtomically(file, "new").ok());
    // Only the leftover of the dead process for this target goes; a running
    // save's temporary and another target's stay.
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"job.vlp", alive, other}));
}
