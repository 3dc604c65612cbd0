#include "floor_values.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace FloorValues {

void appendPlain(std::string &out, long long units)
{
    if (units < 0) {
        out += '-';
        units = -units;
    }
    out += std::to_string(units / 10000);
    if (units % 10000 == 0)
        return;
    char digits[8];
    std::snprintf(digits, sizeof digits, ".%04lld", units % 10000);
    std::string text(digits);
    while (text.back() == '0')
        text.pop_back();
    out += text;
}

std::string localStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

void replaceDataFile(const std::string &folder, const std::string &bytes)
{
    const std::string temporary = folder + "/.data.txt.floor-tmp";
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    const bool written =
        file >= 0 && ::write(file, bytes.data(), bytes.size()) == ssize_t(bytes.size()) &&
        ::fsync(file) == 0 && ::close(file) == 0 &&
        ::rename(temporary.c_str(), (folder + "/data.txt").c_str()) == 0;
    const int directory = written ? ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (directory < 0 || ::fsync(directory) != 0 || ::close(directory) != 0) {
        std::fprintf(stderr, "the floor could not write data.txt in %s\n", folder.c_str());
        std::exit(1);
    }
}

} // namespace FloorValues
