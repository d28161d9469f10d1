#pragma once

#include <string>

// A fresh folder under /tmp for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return root; }
    // Writes bytes to a file under the folder, creating the folders on the way.
    // Backslashes in the relative path are taken as separators.
    std::string write(const std::string& relative, const std::string& bytes) const;

private:
    std::string root;
};

// The whole of a file's bytes (empty when it cannot be read).
std::string readWholeFile(const std::string& path);
