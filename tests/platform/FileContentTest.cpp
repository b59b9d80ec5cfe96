#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

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
    ASSERT_EQ(platform::ReplaceFileContent(folder + "image.txt", "old"), 0);
    ASSERT_EQ(chmod((folder + "image.txt").c_str(), 0640), 0);
    ASSERT_EQ(symlink("image.txt", (folder + "link").c_str()), 0);

    ASSERT_EQ(platform::ReplaceFileContent(folder + "link", "new\n"), 0);
    EXPECT_TRUE(fs::is_symlink(folder + "link"));
    EXPECT_EQ(Read("image.txt"), "new\n");
    struct stat status;
    ASSERT_EQ(stat((folder + "image.txt").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(), (std::set<std::string>{"image.txt", "link"}));
}
