// Reads a template file line by line as bytes. A line ends with LF or CR LF (the CR is
// dropped); the last line needs no line end. The reader is at its end once the last
// line has been read, so a file ending with CR LF has no extra empty line.
#pragma once

#include <fstream>
#include <string>

namespace focaris::rtf {

class TemplateReader {
public:
    // Opens the file; false when it cannot be opened for reading.
    bool open(const std::string &path);
    bool atEnd();
    // The next line without its line end; throws std::runtime_error on a read error.
    std::string readLine();

private:
    std::ifstream in_;
    std::string path_;
};

} // namespace focaris::rtf
