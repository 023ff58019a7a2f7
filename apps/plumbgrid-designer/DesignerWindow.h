#pragma once
// The designer's window: the component palette along the top, the designed form on the desk
// at the left, the object inspector at the right (under a one-row grid that names the selected
// object and offers the form's components), and a status line.
//
// The window wires the parts together: a selection made on the form, in the object row or on
// an item row of the inspector goes to the designer and from there to the inspector; every
// change of the form (Modified) reads the inspector's values again and marks the title. Ctrl+S
// saves the form stream to its file.
#include <memory>
#include <string>

#include "DesignSurface.h"
#include "Inspector.h"
#include "PaletteBar.h"
#include "Panels.h"
#include "controls/Forms.h"

namespace designer {

constexpr plumb::Integer WindowWidth = 1060, WindowHeight = 660;

class TDesignerWindow : public plumb::TForm {
  PLUMB_CLASS(TDesignerWindow, plumb::TForm)
  explicit TDesignerWindow(plumb::TComponent* AOwner);
  ~TDesignerWindow() override;

  // Opens a form stream; Save writes it to FileName. A stream that cannot be read raises and
  // the form shown before stays.
  void Open(const std::string& StreamText, const std::string& FileName);
  void OpenFile(const std::string& FileName);
  // Writes the form stream to FileName (empty: the form's file), after committing a value
  // being typed in the inspector; false, with the reason on the status line, when it cannot.
  bool Save(const std::string& FileName = "");
  const std::string& GetFileName() const { return FFileName; }

  TDesignSurface* GetSurface() const { return FSurface.get(); }
  TObjectInspector* GetInspector() const { return FInspector; }
  TOneRowGrid* GetObjectRow() const { return FObjectRow; }
  TPaletteBar* GetPalette() const { return FPalette; }
  TDesk* GetDesk() const { return FDesk; }
  TStatusLine* GetStatus() const { return FStatus; }
  void ShowMessage(const std::string& Text);

 private:
  void Build();
  void BuildSide();
  void SelectionChanged();
  void FormChanged();
  void FillObjectRow();
  bool SelectByName(const std::string& Name);
  void UpdateTitle();
  void CommitInspector();

  TPaletteBar* FPalette = nullptr;
  TDesk* FDesk = nullptr;
  TPane* FSide = nullptr;
  TOneRowGrid* FObjectRow = nullptr;
  TObjectInspector* FInspector = nullptr;
  TStatusLine* FStatus = nullptr;
  std::unique_ptr<TDesignSurface> FSurface;
  std::string FFileName;
  plumb::TExceptionEvent FFormerHandler;
};

}  // namespace designer
