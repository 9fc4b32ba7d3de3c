// A handle ledger kept through the platform seam: what the panel obtains and
// gives back (device contexts, rendering contexts, palettes, font copies,
// display-list ranges, probe windows). Wine's GetGuiResources is a stub, so
// this is the leak check. Install spies and failures first: the ledger calls
// through whatever the table held when it was made.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/PlatformOps.h"

// Puts the whole table back at the end of a scope, for tests that replace
// entries by assignment.
struct OpsRestore {
  const platform::Ops saved = platform::sys;
  ~OpsRestore() { platform::sys = saved; }
};

class HandleLedger {
 public:
  struct Kind {
    explicit Kind(const char* Name) : name(Name) {}
    const char* name;
    int obtained = 0;
    int released = 0;
    std::vector<std::string> live;  // what is held now, by description
  };

  HandleLedger() : below_(platform::sys) {
    current() = this;
    platform::Ops& s = platform::sys;
    s.GetDC = &GetDC_;
    s.ReleaseDC = &ReleaseDC_;
    s.wglCreateContext = &wglCreateContext_;
    s.wglDeleteContext = &wglDeleteContext_;
    s.CreatePalette = &CreatePalette_;
    s.CreateFontIndirectA = &CreateFontIndirectA_;
    s.DeleteObject = &DeleteObject_;
    s.glGenLists = &glGenLists_;
    s.glDeleteLists = &glDeleteLists_;
    s.CreateWindowExA = &CreateWindowExA_;
    s.DestroyWindow = &DestroyWindow_;
  }
  ~HandleLedger() {
    platform::sys = below_;
    current() = nullptr;
  }
  HandleLedger(const HandleLedger&) = delete;
  HandleLedger& operator=(const HandleLedger&) = delete;

  Kind dcs{"device context"}, contexts{"rendering context"}, palettes{"palette"},
      fonts{"font copy"}, lists{"display-list range"}, windows{"probe window"};
  // Releases of something not held: twice, never obtained, or in another context.
  std::vector<std::string> faults;

  // Empty when everything obtained was released once and nothing else was.
  std::string Unbalanced() const {
    std::string out;
    for (const Kind* k : {&dcs, &contexts, &palettes, &fonts, &lists, &windows})
      for (const std::string& h : k->live) out += std::string("still held: ") + k->name + " " + h + "\n";
    for (const std::string& f : faults) out += f + "\n";
    return out;
  }

 private:
  static HandleLedger*& current() {
    static HandleLedger* ledger = nullptr;
    return ledger;
  }
  static std::string Hex(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
  }
  static std::string Range(HGLRC rc, GLuint base, GLsizei n) {
    return Hex(rc) + ":" + std::to_string(base) + "+" + std::to_string(n);
  }

  static void Obtain(Kind& k, const std::string& h) {
    ++k.obtained;
    k.live.push_back(h);
  }
  static bool Release(Kind& k, const std::string& h) {
    auto it = std::find(k.live.begin(), k.live.end(), h);
    if (it == k.live.end()) return false;
    k.live.erase(it);
    ++k.released;
    return true;
  }
  static void ReleaseOrFault(Kind& k, const std::string& h, const char* call) {
    if (!Release(k, h)) current()->faults.push_back(std::string(call) + " of a " + k.name + " not held: " + h);
  }
  static HGLRC CurrentContext() { return platform::real.wglGetCurrentContext(); }

  static HDC GetDC_(HWND w) {
    HDC dc = current()->below_.GetDC(w);
    if (dc) Obtain(current()->dcs, Hex(w) + "/" + Hex(dc));
    return dc;
  }
  static int ReleaseDC_(HWND w, HDC dc) {
    ReleaseOrFault(current()->dcs, Hex(w) + "/" + Hex(dc), "ReleaseDC");
    return current()->below_.ReleaseDC(w, dc);
  }
  static HGLRC wglCreateContext_(HDC dc) {
    HGLRC rc = current()->below_.wglCreateContext(dc);
    if (rc) Obtain(current()->contexts, Hex(rc));
    return rc;
  }
  static BOOL wglDeleteContext_(HGLRC rc) {
    ReleaseOrFault(current()->contexts, Hex(rc), "wglDeleteContext");
    return current()->below_.wglDeleteContext(rc);
  }
  static HPALETTE CreatePalette_(const LOGPALETTE* p) {
    HPALETTE h = current()->below_.CreatePalette(p);
    if (h) Obtain(current()->palettes, Hex(h));
    return h;
  }
  static HFONT CreateFontIndirectA_(const LOGFONTA* f) {
    HFONT h = current()->below_.CreateFontIndirectA(f);
    if (h) Obtain(current()->fonts, Hex(h));
    return h;
  }
  // Objects the ledger never saw made (the framework's own) pass untouched.
  static BOOL DeleteObject_(HGDIOBJ o) {
    HandleLedger* l = current();
    if (!Release(l->palettes, Hex(o)) && !Release(l->fonts, Hex(o)) &&
        (GetObjectType(o) == OBJ_PAL || GetObjectType(o) == 0))
      l->faults.push_back("DeleteObject of a palette or font not held: " + Hex(o));
    return l->below_.DeleteObject(o);
  }
  static GLuint glGenLists_(GLsizei n) {
    GLuint base = current()->below_.glGenLists(n);
    if (base) Obtain(current()->lists, Range(CurrentContext(), base, n));
    return base;
  }
  static void glDeleteLists_(GLuint first, GLsizei n) {
    ReleaseOrFault(current()->lists, Range(CurrentContext(), first, n), "glDeleteLists");
    current()->below_.glDeleteLists(first, n);
  }
  static HWND CreateWindowExA_(DWORD ex, LPCSTR cls, LPCSTR name, DWORD style, int x, int y,
                               int cx, int cy, HWND parent, HMENU menu, HINSTANCE inst,
                               LPVOID param) {
    HWND w = current()->below_.CreateWindowExA(ex, cls, name, style, x, y, cx, cy, parent, menu,
                                               inst, param);
    if (w) Obtain(current()->windows, Hex(w));
    return w;
  }
  static BOOL DestroyWindow_(HWND w) {
    ReleaseOrFault(current()->windows, Hex(w), "DestroyWindow");
    return current()->below_.DestroyWindow(w);
  }

  platform::Ops below_;
};
