#pragma once
// The object inspector: a record grid whose rows are the published properties of the
// selected object, one free-value row each (title: the property's name, value: its text).
//
// Every row is made from the property editor the design environment hands out for it
// (GetComponentProperties), so editors a package registers take part: a value list becomes the
// row's pick list (sorted when the editor asks for it), nested properties (a font, a
// collection, its items, a set's elements) become child rows of a tree, a read-only property
// cannot be typed, a dialog editor gets an ellipsis. The row of a collection item has an
// ellipsis that selects the item (a grid's column) in the designer.
//
// A value is committed when the row's editor commits (leaving it, Enter, a choice from the
// list): SetValue through the property's editor; text the editor refuses is reported and the
// row goes back to the value it had.
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "design/PropEdits.h"
#include "recordgrid/uPlumbGrid.h"

namespace designer {

class TObjectInspector : public plumb::TPlumbGrid {
  PLUMB_CLASS(TObjectInspector, plumb::TPlumbGrid)
  TObjectInspector(plumb::TComponent* AOwner, plumb::TFormDesigner* Designer);
  ~TObjectInspector() override;

  // Rows for Object's properties; nested rows that were open for the same kind of object
  // stay open, and the row of the same property stays current.
  void Inspect(plumb::TPersistent* Object);
  plumb::TPersistent* GetInspected() const { return FInspected; }
  // Reads every value, name and value list again (something else changed the object).
  void RefreshValues();
  // The row of the property at Path ("Font", "Font/Style/fsBold", "Columns/1 - Name/FieldName"),
  // opened and scrolled into view; -1 when there is none.
  plumb::Integer ShowPath(const std::string& Path);
  plumb::TPropertyEditor* EditorOf(plumb::Integer Row) const;

  std::function<void(const std::string& Text)> OnMessage;    // a refused value, in words
  std::function<void(plumb::TPersistent* Object)> OnSelect;  // an item row's button

 protected:
  void Dispatch(plumb::TMessage& Message) override;

 private:
  struct TRow {
    plumb::TColumn* Column = nullptr;
    std::unique_ptr<plumb::TPropertyEditor> Editor;
    std::string Path;
    TRow* Parent = nullptr;
  };

  void AddRow(std::unique_ptr<plumb::TPropertyEditor> Editor, TRow* Parent);
  void DescribeRow(TRow& Row);
  void ReadRows();
  void FillPickList(TRow& Row);
  bool Commit(TRow& Row, plumb::Variant& Value);
  void ButtonClick(TRow& Row);
  void ClearRows();
  void CloseRows(const std::set<std::string>& Open);
  std::set<std::string> OpenPaths() const;
  TRow* RowOf(plumb::TColumn* Column) const;

  plumb::TFormDesigner* FDesigner;
  plumb::TPersistent* FInspected = nullptr;
  std::vector<std::unique_ptr<TRow>> FRows;  // every row, visible or under a collapsed one
  bool FCommitting = false;
};

}  // namespace designer
