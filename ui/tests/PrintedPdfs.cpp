// This file implements the finding of the printing tests' PDF files.
#include "PrintedPdfs.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <utility>

#include "WinApi.h"

std::string PdfFolder() {
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "/root") + "/PDF";
}

std::string UniqueTitle(const char* Stem) {
  return std::string(Stem) + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(std::random_device()());
}

bool WholePdf(const std::string& Path) {
  FILE* file = std::fopen(Path.c_str(), "rb");
  if (!file) return false;
  char tail[16] = "";
  std::size_t read = 0;
  if (std::fseek(file, -long(sizeof(tail)), SEEK_END) == 0) read = std::fread(tail, 1, sizeof(tail), file);
  std::fclose(file);
  return std::string(tail, read).find("%%EOF") != std::string::npos;
}

std::vector<std::string> WaitForPdfs(const std::string& Title, std::size_t Count) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::vector<std::string> found;
  while (std::chrono::steady_clock::now() < deadline) {
    found.clear();
    std::vector<std::pair<long long, std::string>> files;
    if (DIR* dir = opendir(PdfFolder().c_str())) {
      while (dirent* e = readdir(dir)) {
        std::string n = e->d_name;
        if (n.find(Title) == std::string::npos || n.size() < 4 || n.substr(n.size() - 4) != ".pdf") continue;
        std::string path = PdfFolder() + "/" + n;
        if (!WholePdf(path)) continue;
        struct stat st {};
        stat(path.c_str(), &st);
        files.emplace_back(static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec, path);
      }
      closedir(dir);
    }
    std::sort(files.begin(), files.end());
    for (auto& f : files) found.push_back(f.second);
    if (found.size() >= Count) return found;
    ::Sleep(50);
  }
  return found;
}

std::string HostCommand(const std::string& Command) {
  std::string text;
  if (FILE* pipe = popen((Command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

std::string PdfText(const std::string& Path) { return HostCommand("pdftotext -layout -enc UTF-8 '" + Path + "' -"); }

std::vector<std::string> PdfPages(const std::string& Path) {
  std::string text = PdfText(Path);
  std::vector<std::string> pages;
  std::size_t start = 0;
  for (;;) {
    std::size_t ff = text.find('\f', start);
    if (ff == std::string::npos) break;
    pages.push_back(text.substr(start, ff - start));
    start = ff + 1;
  }
  return pages;
}
