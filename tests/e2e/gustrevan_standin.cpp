// Stand-in for the simulation program "Gustrevan", for the chaining tests:
// reads the data files ("...DAT") and "GUSTRDAT" of the current directory and
// reports what it found, on standard output and in "Gustrevan.log".
// Exit status 0 when a data file was found, 1 otherwise.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

namespace {

std::uint32_t be32(const std::string& bytes, std::size_t offset) {
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(bytes[offset + k]);
  return v;
}

std::string read_all(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  std::ostringstream report;
  report << "Gustrevan stand-in\n";
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(fs::current_path())) {
    const std::string name = e.path().filename().string();
    if (e.is_regular_file() && name.size() > 3 && name.compare(name.size() - 3, 3, "DAT") == 0) names.insert(name);
  }
  bool data_found = false;
  for (const auto& name : names) {
    const std::string bytes = read_all(name);
    if (name == "GUSTRDAT") continue;
    report << name << ": " << bytes.size() << " bytes";
    if (bytes.size() >= 12) {
      const std::uint32_t marker = be32(bytes, 0);
      report << ", marker " << marker;
      if (name != "LOWDAT") {
        report << ", " << be32(bytes, 4) << " words, kind " << static_cast<std::int32_t>(be32(bytes, 8));
        data_found = true;
      }
    }
    report << "\n";
  }
  if (names.count("GUSTRDAT") != 0) {
    report << "GUSTRDAT " << read_all("GUSTRDAT").size() << " bytes\n";
  } else {
    report << "GUSTRDAT missing\n";
  }
  std::cout << report.str();
  std::ofstream("Gustrevan.log") << report.str();
  return data_found ? 0 : 1;
}
