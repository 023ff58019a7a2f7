#pragma once
// The form designer. A form read from a stream lives in design state inside a window of the
// designer; this class is its designer: it takes the form's mouse and keys (TDesigner), hears
// of changes from the property editors and the controls (Modified), names the root that
// references and events resolve against (TFormDesigner), and keeps the selection: the form,
// one of its components, or a column of a record grid.
//
// On a record grid a press on a row selects its column, dragging it to another row moves the
// column there, and a double click on a parent row collapses or expands it. Presses on the line
// between the titles and the values go to the grid itself (its design hit test), which sizes
// the title column. Keys on the form: Up/Down select the column above or below, Ctrl+Up and
// Ctrl+Down move it, Left and Right collapse and expand it, Escape selects the parent, Ctrl+S
// asks for a save.
#include <functional>
#include <memory>
#include <string>

#include "controls/Forms.h"
#include "design/DesignIntf.h"
#include "recordgrid/uPlumbGrid.h"

namespace designer {

class TDesignSurface : public plumb::TDesigner, public plumb::TFormDesigner {
 public:
  // Host is the window the form is shown in, at its client origin.
  explicit TDesignSurface(plumb::TWinControl* Host);
  ~TDesignSurface() override;
  TDesignSurface(const TDesignSurface&) = delete;
  TDesignSurface& operator=(const TDesignSurface&) = delete;

  // Reads a form stream into a new form in design state and shows it; a stream that cannot
  // be read raises (naming what is wrong) and the form shown before stays.
  void Open(const std::string& StreamText);
  // The form as a stream.
  std::string StreamText();
  plumb::TForm* GetForm() const { return FForm.get(); }
  bool IsModified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  plumb::TPersistent* GetSelection() const { return FSelection; }
  void Select(plumb::TPersistent* Object);
  // The object a selection belongs to: a column's grid, a component's form.
  plumb::TPersistent* ParentOf(plumb::TPersistent* Object) const;
  // Design-time edits of a grid's tree, each marking the form modified.
  void MoveColumn(plumb::TColumn* Column, int Index);
  void SetColumnExpanded(plumb::TColumn* Column, bool Expanded);
  // A palette class: the next press on the form places one there.
  plumb::TClass GetPlacing() const { return FPlacing; }
  void SetPlacing(plumb::TClass Class) { FPlacing = Class; }

  std::function<void()> OnSelectionChanged;
  std::function<void()> OnChanged;      // the form was modified
  std::function<void()> OnSaveRequest;  // Ctrl+S on the form

  // ---- TDesigner ----
  bool IsDesignMsg(plumb::TControl* Sender, plumb::TMessage& Message) override;
  void Modified() override;
  void Notification(plumb::TComponent* AComponent, plumb::TOperation Operation) override;
  // ---- TFormDesigner ----
  plumb::TComponent* GetRoot() override { return FForm.get(); }

 private:
  bool MouseMessage(plumb::TControl* Sender, plumb::TMessage& Message);
  void Press(plumb::TControl* Sender, plumb::Integer X, plumb::Integer Y);
  void DragTo(plumb::Integer X, plumb::Integer Y);
  void Release();
  void DoubleClick(plumb::TControl* Sender, plumb::Integer X, plumb::Integer Y);
  void Place(plumb::TControl* Sender, plumb::Integer X, plumb::Integer Y);
  bool KeyMessage(plumb::TMessage& Message);
  void ColumnKey(plumb::TColumn* Column, plumb::Word Key, bool Ctrl);
  plumb::TColumn* RowColumn(plumb::TPlumbGrid* Grid, plumb::Integer X, plumb::Integer Y) const;
  plumb::TColumn* SelectedColumn() const;
  void Discard();

  plumb::TWinControl* FHost;
  std::unique_ptr<plumb::TForm> FForm;
  plumb::TPersistent* FSelection = nullptr;
  bool FModified = false;
  plumb::TClass FPlacing = nullptr;
  // A press on a grid row: the column it may drag, and where the drag would drop it.
  plumb::TPlumbGrid* FDragGrid = nullptr;
  plumb::TColumn* FDragColumn = nullptr;
  plumb::Integer FDropRow = -1;
};

}  // namespace designer
