// Panels.
#pragma once

#include "Controls.h"

class TCustomPanel : public TCustomControl {
  LUMO_DECLARE_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

 protected:
  // Draws the caption in the panel's font.
  void Paint() override;

  TAlignment FAlignment = taCenter;
};
