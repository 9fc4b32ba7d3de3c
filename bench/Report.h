// One table of figures with their targets, printed and written as JSON.
#pragma once

#include <string>
#include <vector>

struct Figure {
  std::string name;
  double value;
  std::string unit;
  std::string target;  // e.g. ">= 0.97"; empty when the figure is information only
  bool met;
  std::string detail;  // spread, percentiles, counts
};

class Report {
 public:
  void Add(const std::string& name, double value, const std::string& unit,
           const std::string& target, bool met, const std::string& detail = "");
  void Info(const std::string& name, double value, const std::string& unit,
            const std::string& detail = "");
  void Print() const;
  bool WriteJson(const std::string& path, const std::string& machine) const;

 private:
  std::vector<Figure> figures_;
};
