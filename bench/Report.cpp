#include "Report.h"

#include <cstdio>

void Report::Add(const std::string& name, double value, const std::string& unit,
                 const std::string& target, bool met, const std::string& detail) {
  figures_.push_back({name, value, unit, target, met, detail});
}

void Report::Info(const std::string& name, double value, const std::string& unit,
                  const std::string& detail) {
  figures_.push_back({name, value, unit, "", true, detail});
}

void Report::Print() const {
  std::printf("\n| %-44s | %12s | %-6s | %-9s | %-4s | %s\n", "figure", "value", "unit", "target",
              "met", "detail");
  std::printf("|%s|%s|%s|%s|%s|%s\n", std::string(46, '-').c_str(), std::string(14, '-').c_str(),
              std::string(8, '-').c_str(), std::string(11, '-').c_str(),
              std::string(6, '-').c_str(), "---");
  for (const Figure& f : figures_)
    std::printf("| %-44s | %12.3f | %-6s | %-9s | %-4s | %s\n", f.name.c_str(), f.value,
                f.unit.c_str(), f.target.empty() ? "-" : f.target.c_str(),
                f.target.empty() ? "-" : (f.met ? "yes" : "NO"), f.detail.c_str());
  std::fflush(stdout);
}

namespace {
std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}
}  // namespace

bool Report::WriteJson(const std::string& path, const std::string& machine) const {
  FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  std::fprintf(f, "{\n  \"machine\": \"%s\",\n  \"figures\": [\n", Escape(machine).c_str());
  for (size_t i = 0; i < figures_.size(); ++i) {
    const Figure& g = figures_[i];
    std::fprintf(f,
                 "    {\"name\": \"%s\", \"value\": %.6g, \"unit\": \"%s\", \"target\": \"%s\", "
                 "\"met\": %s, \"detail\": \"%s\"}%s\n",
                 Escape(g.name).c_str(), g.value, Escape(g.unit).c_str(), Escape(g.target).c_str(),
                 g.met ? "true" : "false", Escape(g.detail).c_str(),
                 i + 1 < figures_.size() ? "," : "");
  }
  std::fprintf(f, "  ]\n}\n");
  return std::fclose(f) == 0;
}
