#ifndef TESTS_AMBREL_TASK_TEST_SUPPORT_H
#define TESTS_AMBREL_TASK_TEST_SUPPORT_H

// What the task tests share: a resource folder of their own and the names of
// a schedule in order.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Task.h"

namespace task_test {

// A fresh folder that plays the resource folder; removed with the object.
class TaskResourceFolder {
public:
    TaskResourceFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ambrel-tasks-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        path_ += '/';
    }
    ~TaskResourceFolder() { std::filesystem::remove_all(path_); }
    TaskResourceFolder(const TaskResourceFolder&) = delete;
    TaskResourceFolder& operator=(const TaskResourceFolder&) = delete;

    const std::string& path() const { return path_; }
    void WriteResources(const std::string& text) const {
        std::ofstream(path_ + "resources.txt", std::ios::binary) << text;
    }

private:
    std::string path_;
};

inline std::vector<std::string> Names(const TaskList& schedule) {
    std::vector<std::string> names;
    for (const Task& task : schedule) names.push_back(task.name);
    return names;
}

}  // namespace task_test

#endif
