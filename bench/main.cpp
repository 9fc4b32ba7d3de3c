// Benchmarks: the panel against a raw Win32/WGL program doing the same work,
// side by side in one run, reported as ratios. They report; they never fail.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "Clock.h"
#include "RawGL.h"
#include "Report.h"
#include "Scene.h"
#include "Stats.h"
#include "opengllumo/Topengllumopanel.h"
#include "platform/PlatformOps.h"
#include "support/HandleLedger.h"
#include "vcl/FormStreaming.h"
#include "vcl/Forms.h"

// Every allocation through operator new is counted, so that the paint path
// can be shown to allocate nothing.
static long long g_allocations = 0;
void* operator new(std::size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

struct Options {
  int rounds = 6;        // A B pairs for each ratio
  int frames = 300;      // paints per throughput run
  int paints = 2000;     // paints timed one by one
  int creations = 20;    // window creations per side and round
  int lives = 1000;      // soak: window lives of four panels
  std::string json;
  std::string writeForm;  // write the form-file benchmark's form here and stop
  std::string convert;    // "RATIO DETAIL" from the native converter comparison
  std::string machine = "unknown";
};

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--json") o.json = next();
    else if (a == "--machine") o.machine = next();
    else if (a == "--lives") o.lives = std::atoi(next().c_str());
    else if (a == "--write-form") o.writeForm = next();
    else if (a == "--convert") o.convert = next();
    else if (a == "--quick") o.rounds = 2, o.frames = 60, o.paints = 200, o.creations = 4, o.lives = 20;
  }
  return o;
}

std::string Spread(const std::vector<double>& v, int decimals = 3) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "min %.*f, max %.*f, n %zu", decimals, Min(v), decimals, Max(v),
                v.size());
  return buf;
}

// The panel a benchmark drives, with its own time split from what it calls.
class TBenchPanel : public TOpenGLLumoPanel {
 public:
  explicit TBenchPanel(TComponent* AOwner) : TOpenGLLumoPanel(AOwner) {
    SetOnPaint(Bind<&TBenchPanel::DrawFrame>(this));
  }
  std::vector<double>* ownCost = nullptr;  // filled when set
  static double swapSeconds;

 protected:
  void Paint() override {
    if (!ownCost) {
      TOpenGLLumoPanel::Paint();
      return;
    }
    swapSeconds = 0;
    double start = Now();
    TOpenGLLumoPanel::Paint();
    double total = Now() - start;
    ownCost->push_back(total - drawSeconds_ - swapSeconds);
  }

 private:
  void DrawFrame(TObject*) {
    double start = Now();
    DrawScene(frame_++);
    drawSeconds_ = Now() - start;
  }
  int frame_ = 0;
  double drawSeconds_ = 0;
};
double TBenchPanel::swapSeconds = 0;

BOOL TimedSwap(HDC dc) {
  double start = Now();
  BOOL ok = platform::real.SwapBuffers(dc);
  TBenchPanel::swapSeconds = Now() - start;
  return ok;
}

double FramesPerSecond(HWND wnd, int frames) {
  double start = Now();
  for (int i = 0; i < frames; ++i) {
    InvalidateRect(wnd, nullptr, FALSE);
    UpdateWindow(wnd);
  }
  return frames / (Now() - start);
}

void PaintThroughput(const Options& o, TForm& form, Report& report) {
  auto* panel = new TBenchPanel(&form);
  panel->SetBounds(8, 8, 256, 256);
  panel->SetParent(&form);
  RawGLWindow raw(form.Handle(), 272, 8, 256, 256);
  std::vector<double> ratios, panelFps, rawFps;
  FramesPerSecond(panel->Handle(), o.frames / 4);  // warm-up
  FramesPerSecond(raw.Handle(), o.frames / 4);
  for (int r = 0; r < o.rounds; ++r) {
    // Whichever side runs first after the other pays for the switch of
    // context, so the order alternates: A B, B A, ...
    double a, b;
    if (r % 2 == 0) {
      a = FramesPerSecond(panel->Handle(), o.frames);
      b = FramesPerSecond(raw.Handle(), o.frames);
    } else {
      b = FramesPerSecond(raw.Handle(), o.frames);
      a = FramesPerSecond(panel->Handle(), o.frames);
    }
    panelFps.push_back(a);
    rawFps.push_back(b);
    ratios.push_back(a / b);
  }
  double ratio = Median(ratios);
  report.Add("paint throughput, panel/raw", ratio, "ratio", ">= 0.97", ratio >= 0.97,
             Spread(ratios));
  report.Info("paint throughput, panel", Median(panelFps), "fps", Spread(panelFps, 0));
  report.Info("paint throughput, raw", Median(rawFps), "fps", Spread(rawFps, 0));

  std::vector<double> own;
  own.reserve(o.paints);
  panel->ownCost = &own;
  long long before;
  {
    platform::Replace swap(platform::sys.SwapBuffers, &TimedSwap);
    before = g_allocations;
    for (int i = 0; i < o.paints; ++i) {
      InvalidateRect(panel->Handle(), nullptr, FALSE);
      UpdateWindow(panel->Handle());
    }
  }
  long long allocations = g_allocations - before;
  panel->ownCost = nullptr;
  for (double& s : own) s *= 1e6;
  double p50 = Median(own), p99 = Percentile(own, 0.99);
  char detail[64];
  std::snprintf(detail, sizeof detail, "p99 %.2f us, n %zu", p99, own.size());
  report.Add("panel's own cost per paint, median", p50, "us", "<= 2", p50 <= 2.0, detail);
  report.Add("heap allocations in paints", static_cast<double>(allocations), "count", "== 0",
             allocations == 0, std::to_string(o.paints) + " paints");
  delete panel;
}

double TimeOnce(const std::function<void()>& make) {
  double start = Now();
  make();
  return Now() - start;
}

// Creates a panel's window configured by `configure`, returns the seconds
// the creation took; the panel goes afterwards, outside the timing.
double CreatePanelWindow(TForm& form, const std::function<void(TOpenGLLumoPanel&)>& configure) {
  auto* panel = new TOpenGLLumoPanel(&form);
  panel->SetBounds(8, 8, 256, 256);
  configure(*panel);
  double seconds = TimeOnce([&] { panel->SetParent(&form); });
  delete panel;
  return seconds;
}

double CreateRawWindow(TForm& form) {
  RawGLWindow* raw = nullptr;
  double seconds = TimeOnce([&] { raw = new RawGLWindow(form.Handle(), 8, 8, 256, 256); });
  delete raw;
  return seconds;
}

void WindowCreation(const Options& o, TForm& form, Report& report) {
  auto defaults = [](TOpenGLLumoPanel&) {};
  std::vector<double> ratios, panelMs, rawMs;
  for (int r = 0; r < o.rounds; ++r) {
    std::vector<double> a, b;
    for (int i = 0; i < o.creations; ++i) {
      a.push_back(CreatePanelWindow(form, defaults));
      b.push_back(CreateRawWindow(form));
    }
    ratios.push_back(Median(a) / Median(b));
    panelMs.push_back(Median(a) * 1e3);
    rawMs.push_back(Median(b) * 1e3);
  }
  double ratio = Median(ratios);
  report.Add("window creation, panel/raw", ratio, "ratio", "<= 1.10", ratio <= 1.10, Spread(ratios));
  report.Info("window creation, panel", Median(panelMs), "ms", Spread(panelMs));
  report.Info("window creation, raw", Median(rawMs), "ms", Spread(rawMs));

  struct Option {
    const char* name;
    std::function<void(TOpenGLLumoPanel&)> configure;
  };
  const Option options[] = {
      {"added by the multisample query", [](TOpenGLLumoPanel& p) { p.SetMultiSample(true); }},
      {"added by the outline font", [](TOpenGLLumoPanel& p) { p.SetFont3D_Enabled(true); }},
      {"added by the bitmap font", [](TOpenGLLumoPanel& p) { p.SetFont2D_Enabled(true); }},
  };
  for (const Option& opt : options) {
    std::vector<double> with, without;
    for (int i = 0; i < o.creations; ++i) {
      with.push_back(CreatePanelWindow(form, opt.configure));
      without.push_back(CreatePanelWindow(form, defaults));
    }
    report.Info(opt.name, (Median(with) - Median(without)) * 1e3, "ms");
  }
}

// NOTE: Wine leaves PrivateUsage at 0; its PagefileUsage is the private
// (committed) memory of the process.
// A form holding 500 panels, every published property away from its default.
TForm* NewFormOf500Panels() {
  RegisterClass(TOpenGLLumoPanel::StaticClass());
  auto* form = new TForm(nullptr);
  form->SetName("BenchForm");
  TFont font;
  font.SetName("Courier New");
  font.SetHeight(-13);
  for (int i = 0; i < 500; ++i) {
    auto* p = new TOpenGLLumoPanel(form);
    p->SetName("OpenGLLumoPanel" + std::to_string(i + 1));
    p->SetBounds(i % 40, i / 40, 100 + i % 7, 80 + i % 5);
    p->SetParent(form);
    p->SetPixelType(f_PFD_TYPE_COLORINDEX);
    p->SetPFDFlags({f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_SUPPORT_GDI, f_PFD_STEREO});
    p->SetcColorBits(static_cast<unsigned char>(8 + i % 24));
    p->SetcDepthBits(24);
    p->SetcAccBits(16);
    p->SetMultiSample(true);
    p->SetGLSwapBuffers(Manual);
    p->SetPixelsPerInch(120);
    p->SetPrintScale(pglPrintToFit);
    p->SetFont3D_Enabled(true);
    p->SetFont3D_Type(&font);
    p->SetFont3D_FirstGylph(33);
    p->SetFont3D_NumGylph(90);
    p->SetFont3D_MaxDeviation(0.5f);
    p->SetFont3D_Extrustion(0.25f);
    p->SetFont3D_Format(f_WGL_FONT_LINES);
    p->SetFont2D_Enabled(true);
    p->SetFont2D_Type(&font);
    p->SetFont2D_FirstGylph(40);
    p->SetFont2D_NumGylph(60);
    p->SetFps_Enabled(true);
    p->SetBorder(true);
    p->SetToolWindow(true);
    p->SetAllowResize(true);
    p->SetAllowMoving(true);
    p->SetCaption("Panel " + std::to_string(i));
  }
  return form;
}

// Megabytes per second of `work` over `bytes`, repeated for about a second.
std::vector<double> Throughput(size_t bytes, const std::function<void()>& work, int rounds) {
  std::vector<double> rates;
  for (int r = 0; r < rounds; ++r) {
    double seconds = TimeOnce(work);
    rates.push_back(bytes / 1048576.0 / seconds);
  }
  return rates;
}

void FormFiles(const Options& o, Report& report) {
  std::unique_ptr<TForm> form(NewFormOf500Panels());
  struct Kind {
    const char* name;
    std::string (*write)(TComponent*);
  };
  for (const Kind& k : {Kind{"text", &WriteComponentText}, Kind{"binary", &WriteComponentBinary}}) {
    const std::string data = k.write(form.get());
    std::vector<double> writes = Throughput(data.size(), [&] { k.write(form.get()); }, o.rounds);
    std::vector<double> reads;
    for (int r = 0; r < o.rounds; ++r) {
      std::unique_ptr<TForm> read(new TForm(nullptr));
      double seconds = TimeOnce([&] { ReadComponentData(data, read.get()); });
      reads.push_back(data.size() / 1048576.0 / seconds);
    }
    std::string size = std::to_string(data.size() / 1024) + " KiB, ";
    report.Info(std::string("form file, 500 panels, ") + k.name + ", read", Median(reads), "MB/s",
                size + Spread(reads, 1));
    report.Info(std::string("form file, 500 panels, ") + k.name + ", write", Median(writes), "MB/s",
                size + Spread(writes, 1));
  }
  if (o.convert.empty()) return;
  double ratio = std::atof(o.convert.c_str());
  std::string detail = o.convert.substr(std::min(o.convert.find(' ') + 1, o.convert.size()));
  report.Add("text-to-binary, ours/Free Pascal (native)", ratio, "ratio", "<= 1.00", ratio <= 1.0,
             detail);
}

size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

// One window life of four panels with multisampling and both fonts: create,
// paint a few frames, destroy.
void PanelLife(TForm& form) {
  TBenchPanel* panels[4];
  for (int i = 0; i < 4; ++i) {
    panels[i] = new TBenchPanel(&form);
    panels[i]->SetBounds(8 + 132 * i, 8, 128, 128);
    panels[i]->SetMultiSample(true);
    panels[i]->SetFont3D_Enabled(true);
    panels[i]->SetFont2D_Enabled(true);
    panels[i]->SetParent(&form);
  }
  for (int frame = 0; frame < 3; ++frame)
    for (TBenchPanel* p : panels) {
      InvalidateRect(p->Handle(), nullptr, FALSE);
      UpdateWindow(p->Handle());
    }
  for (TBenchPanel* p : panels) delete p;
}

void Soak(const Options& o, TForm& form, Report& report) {
  const int warmup = std::min(50, o.lives / 2);
  HandleLedger ledger;
  size_t warm = 0;
  double start = Now();
  for (int life = 0; life < o.lives; ++life) {
    if (life == warmup) warm = PrivateBytes();
    PanelLife(form);
  }
  double seconds = Now() - start;
  size_t end = PrivateBytes();
  std::string unbalanced = ledger.Unbalanced();
  char detail[160];
  std::snprintf(detail, sizeof detail, "%d lives in %.0f s; %d DCs, %d contexts, %d lists, %d fonts",
                o.lives, seconds, ledger.dcs.obtained, ledger.contexts.obtained,
                ledger.lists.obtained, ledger.fonts.obtained);
  report.Add("soak: handles not released once", unbalanced.empty() ? 0 : 1, "count", "== 0",
             unbalanced.empty(), unbalanced.empty() ? detail : unbalanced.substr(0, 120));
  double growth = (static_cast<double>(end) - static_cast<double>(warm)) / (o.lives - warmup);
  std::snprintf(detail, sizeof detail, "private %.1f MB after warm-up, %.1f MB at the end",
                warm / 1048576.0, end / 1048576.0);
  report.Add("soak: private memory growth per life", growth, "bytes", "<= 0", growth <= 0, detail);
}

}  // namespace

int main(int argc, char** argv) {
  Options o = ParseOptions(argc, argv);
  if (!o.writeForm.empty()) {
    std::unique_ptr<TForm> form(NewFormOf500Panels());
    FILE* f = std::fopen(o.writeForm.c_str(), "wb");
    std::string text = WriteComponentText(form.get());
    bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f) ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "bench: cannot write %s\n", o.writeForm.c_str());
    return ok ? 0 : 1;
  }
  TApplication app(nullptr);
  TForm* form = new TForm(&app);
  form->SetClientSize(540, 272);
  form->Show();
  app.ProcessMessages();

  Report report;
  PaintThroughput(o, *form, report);
  WindowCreation(o, *form, report);
  FormFiles(o, report);
  Soak(o, *form, report);
  report.Print();
  if (!o.json.empty() && !report.WriteJson(o.json, o.machine))
    std::fprintf(stderr, "bench: cannot write %s\n", o.json.c_str());
  return 0;
}
