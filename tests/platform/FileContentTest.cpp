#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/FileContent.h"

namespace fs = std::filesystem;

namespace {

class FileContent : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "file-content-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern + "/";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Read(const std::string& name) const {
        std::string content;
        EXPECT_EQ(platform::ReadFileContent(folder + name, content), 0);
        return content;
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
        return names;
    }

    std::string folder;
};

}  // namespace

TEST_F(FileContent, AReplacementKeepsThePermissionsAndTheLinkOfTheFormerFile) {
    ASSERT_EQ(platform::ReplaceFileContent(folder + "image.txt", "old", {}), 0);
    ASSERT_EQ(chmod((folder + "image.txt").c_str(), 0640), 0);
    ASSERT_EQ(symlink("image.txt", (folder + "link").c_str()), 0);

    ASSERT_EQ(platform::ReplaceFileContent(folder + "link", "new\n", {}), 0);
    EXPECT_TRUE(fs::is_symlink(folder + "link"));
    EXPECT_EQ(Read("image.txt"), "new\n");
    struct stat status;
    ASSERT_EQ(stat((folder + "image.txt").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(), (std::set<std::string>{"image.txt", "link"}));
}

// Leftovers of writers that cannot run (beyond the largest Linux process
// id): only the plain file of the runtime's own form that no caller keeps
// goes; a link, a folder and kept files of that form stay.
TEST_F(FileContent, AReplacementRemovesOnlyTheLeftoversItCanTellAreItsOwn) {
    const std::string own = ".image.txt.ambrel-new-9999999-";
    for (const std::string& name : {own + "0", own + "3", own + "4"})
        ASSERT_EQ(platform::ReplaceFileContent(folder + name, "torn", {}), 0);
    ASSERT_TRUE(fs::create_directory(folder + own + "1"));
    ASSERT_EQ(symlink("nowhere", (folder + own + "2").c_str()), 0);
    ASSERT_EQ(symlink((own + "4").c_str(), (folder + "alias").c_str()), 0);

    const std::vector<std::string> kept = {folder + "./" + own + "3", folder + "alias"};
    ASSERT_EQ(platform::ReplaceFileContent(folder + "image.txt", "new", kept), 0);
    EXPECT_EQ(Read("image.txt"), "new");
    EXPECT_EQ(Names(), (std::set<std::string>{"image.txt", own + "1", own + "2", own + "3", own + "4", "alias"}));
}
