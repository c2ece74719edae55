// A temporary folder removed with everything in it when the object goes.
#pragma once

#include <filesystem>
#include <string>

namespace velmora::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes bytes to a file below the folder and returns its host path.
    std::filesystem::path write(const std::string& relative, const std::string& bytes) const;

  private:
    std::filesystem::path path_;
};

} // namespace velmora::test
