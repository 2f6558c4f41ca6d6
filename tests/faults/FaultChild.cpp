#include "FaultChild.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>

namespace {

constexpr uid_t NobodyId = 65534;

void WriteAll(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written <= 0)
            return;
        done += static_cast<std::size_t>(written);
    }
}

[[noreturn]] void RunChild(const TFaults& faults, const std::function<std::string()>& action, int fd)
{
    std::string result;
    if (faults.Unprivileged && geteuid() == 0 && (setgid(NobodyId) != 0 || setuid(NobodyId) != 0))
        result = "child ended: cannot become nobody";
    if (result.empty() && faults.FileSizeLimit) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(*faults.FileSizeLimit), static_cast<rlim_t>(*faults.FileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            result = "child ended: cannot limit the file size";
    }
    if (result.empty()) {
        try {
            result = action();
        } catch (const std::exception& e) {
            result = std::string("exception: ") + e.what();
        }
    }
    WriteAll(fd, result);
    close(fd);
    _exit(0);
}

}  // namespace

std::string InChild(const TFaults& faults, const std::function<std::string()>& action)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "child ended: no pipe";
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return "child ended: no fork";
    if (child == 0) {
        close(channel[0]);
        RunChild(faults, action, channel[1]);
    }
    close(channel[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child ended: status " + std::to_string(status);
    return result;
}

std::filesystem::path MakeTestFolder(const std::string& name)
{
    const std::filesystem::path folder =
        std::filesystem::path("/tmp") / ("korven-faults-" + std::to_string(getpid())) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (auto path = folder; path != "/tmp"; path = path.parent_path())
        chmod(path.c_str(), 0755);
    return folder;
}

void MakeReadOnly(const std::filesystem::path& folder) { chmod(folder.c_str(), 0555); }

std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
