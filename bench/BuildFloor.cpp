// The floor of `quorvel-cli build`: the same work with nothing around it.
//
//   build-floor GROUP_FOLDER VALUES_TSV TEMPLATE COMPILER
//
// For every project of the values file and each platform it writes a resource
// script of the template's size into GROUP_FOLDER/Resources and runs the
// compiler on it, one at a time, as the build does: 2 files and 2 processes
// per project. No parsing, no placeholder filling, no output capture.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

std::string ReadAll(const char* fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string& fileName, const std::string& bytes)
{
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    return ::close(fd) == 0 && ok;
}

bool Run(const char* compiler, const std::string& script, const std::string& resource)
{
    const std::string fo = "-fo" + resource;
    char* argv[] = {const_cast<char*>(compiler), const_cast<char*>(script.c_str()),
                    const_cast<char*>(fo.c_str()), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, compiler, nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: build-floor GROUP_FOLDER VALUES_TSV TEMPLATE COMPILER\n");
        return 2;
    }
    const std::string group = argv[1];
    const std::string script = ReadAll(argv[3]);
    const std::string resources = group + "/Resources";
    ::mkdir(resources.c_str(), 0755);
    std::istringstream values(ReadAll(argv[2]));
    std::string line;
    int failures = 0;
    while (std::getline(values, line)) {
        const std::string name = line.substr(0, line.find('\t')); // ModNNNN/AppNNNN
        ::mkdir((resources + "/" + name.substr(0, name.find('/'))).c_str(), 0755);
        for (const char* suffix : {"-32", "-64"}) {
            const std::string rc = resources + "/" + name + suffix + ".rc";
            const std::string res = group + "/" + name + suffix + ".res";
            if (!WriteAll(rc, script) || !Run(argv[4], rc, res))
                ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
