// The demo application. Until its window is closed, or for a number of
// frames or seconds; then it prints what it measured.
//
//   demo.exe [--frames N | --seconds S] [--picture PATH]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DemoForm.h"

namespace {

const char kUsage[] = "usage: demo [--frames N | --seconds S] [--picture PATH]\n";

// Reads a positive number, or says what is wrong with it.
bool ReadPositive(const char* option, const char* text, double& value, std::string& error) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  if (end != text && *end == 0 && value > 0 && value < 1e9) return true;
  error = std::string(option) + " needs a number above 0, got '" + text + "'";
  return false;
}

bool ParseOptions(int argc, char** argv, RunLimit& limit, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (i + 1 >= argc) {
      error = std::string("unknown option or missing value: ") + option;
      return false;
    }
    const char* value = argv[++i];
    double number = 0;
    if (!std::strcmp(option, "--frames")) {
      if (!ReadPositive(option, value, number, error)) return false;
      limit.frames = static_cast<int>(number);
      if (limit.frames != number) {
        error = std::string("--frames needs a whole number, got '") + value + "'";
        return false;
      }
    } else if (!std::strcmp(option, "--seconds")) {
      if (!ReadPositive(option, value, limit.seconds, error)) return false;
    } else if (!std::strcmp(option, "--picture")) {
      limit.picture = value;
    } else {
      error = std::string("unknown option: ") + option;
      return false;
    }
  }
  if (!limit.picture.empty() && !limit.Limited()) {
    error = "--picture needs --frames or --seconds: the picture is the run's last frame";
    return false;
  }
  return true;
}

int PrintReport(const TDemoForm& form, const RunLimit& limit) {
  const RunReport& r = form.Report();
  const double rate = r.seconds > 0 ? (r.frames - 1) / r.seconds : 0;
  std::printf("frames: %d in %.2f s, %.1f frames/s (the panel's Fps for its last paint: %d)\n",
              r.frames, r.seconds, rate, r.lastFps);
  std::printf("pixel format %d: %d-bit colour, %d-bit depth, %d samples\n", r.pixelFormat,
              r.colourBits, r.depthBits, r.samples);
  const AnsiString& lastError = form.Panel->LastError();
  std::printf("last error: %s\n", lastError.empty() ? "none" : lastError.c_str());
  if (limit.picture.empty()) return 0;
  if (!r.pictureTaken) {
    std::printf("picture: not taken, the run ended before its limit\n");
    return 1;
  }
  if (!r.pictureError.empty()) {
    std::printf("picture: %s\n", r.pictureError.c_str());
    return 1;
  }
  std::printf("picture: %s\n", limit.picture.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  RunLimit limit;
  std::string error;
  if (!ParseOptions(argc, argv, limit, error)) {
    std::fprintf(stderr, "demo: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  TApplication application(nullptr);
  TDemoForm* form = nullptr;
  Application->CreateForm(form);
  form->SetLimit(limit);
  Application->OnIdle = Bind<&TDemoForm::ApplicationIdle>(form);
  Application->Run();
  std::fflush(stdout);
  return PrintReport(*form, limit);
}
