// Line reading of templates; see TemplateReader.h.
#include "engines/rtf/TemplateReader.h"

#include <stdexcept>

namespace focaris::rtf {

bool TemplateReader::open(const std::string &path)
{
    path_ = path;
    in_.open(path, std::ios::in | std::ios::binary);
    return in_.is_open();
}

bool TemplateReader::atEnd()
{
    return !in_.is_open() || in_.peek() == std::char_traits<char>::eof();
}

std::string TemplateReader::readLine()
{
    std::string line;
    std::getline(in_, line);
    if (in_.bad())
        throw std::runtime_error("cannot read " + path_);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace focaris::rtf
