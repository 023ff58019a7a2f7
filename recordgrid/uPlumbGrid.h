#pragma once
// The record grid: TPlumbGrid shows one record of a data set as a two-column grid, one row
// per visible TColumn item: the title on the left, the value of the item's field (or its free
// value) on the right. Items form a tree by IndentLevel; collapsing a parent at run time moves
// its descendants out of the grid's collection into the parent's hidden children.
//
// Implementation files, by concern:
//   Column.cpp         TColumn: field binding, assigned values, free value, mask, lifecycle
//   ColumnTree.cpp     indent levels, collapsing and expanding, moves, relayout
//   Columns.cpp        TPlumbGridColumns: the placeholder item, lookups by row and by code
//   PlumbGrid.cpp      TPlumbGrid: construction, properties, tree rows, menus, notifications
//   PlumbGridIme.cpp   input-method steering per row
//   RecordPaint.cpp    title and value cells
//   RecordValues.cpp   edit text in and out of the record
//   GridDataLink.cpp   data-set notifications
//   Placeholders.cpp   the fixed texts of fields that are not shown as text
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Menus.h"
#include "core/Alignment.h"
#include "core/Collection.h"
#include "core/Strings.h"
#include "core/Variant.h"
#include "data/DataList.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "grid/uCPlumbGrd.h"

namespace plumb {

class TPlumbGrid;
class TPlumbGridColumns;
class TColumn;

// ---- Events ----------------------------------------------------------------------------------
using TGetTextEvent =
    TEvent<void(TObject* Sender, Integer ACol, Integer ARow, TStrings* PickList, Variant& Value)>;
using TSetEditEvent =
    TEvent<void(TObject* Sender, Integer ARow, TStrings* PickList, const Variant& Value)>;
using TSetTextEvent = TEvent<void(TObject* Sender, Integer ARow, bool Modified, TStrings* PickList,
                                  const Variant& Value)>;
using TValidateEvent =
    TEvent<void(TObject* Sender, Integer ARow, TStrings* PickList, Variant& Value, bool& Accept)>;
using TGetMaskEvent = TEvent<void(TObject* Sender, Integer ARow, std::string& Mask)>;
using TEditButtonClick = TEvent<void(TObject* Sender, Integer ARow, TField* Field)>;
using TMovedEvent = TEvent<void(TObject* Sender, Integer FromIndex, Integer ToIndex)>;

enum TColumnButtonStyle : uint8_t { cbsAuto, cbsEllipsis, cbsNone };
inline constexpr const char* ColumnButtonStyleNames[] = {"cbsAuto", "cbsEllipsis", "cbsNone"};
inline constexpr TEnumInfo ColumnButtonStyleInfo{"TColumnButtonStyle", ColumnButtonStyleNames};

// Which per-column values were assigned explicitly; the others read their default.
enum TColumnValue { cvAlignment, cvReadOnly, cvImeMode, cvImeName };
using TColumnValues = TSet<TColumnValue, uint8_t>;

// ---- Placeholder texts -----------------------------------------------------------------------
// Fields whose contents are not shown or edited as text (binary data, blobs, memos, pictures,
// formatted memos, embedded objects) show a fixed text instead.
bool FieldShowsPlaceholder(const TField* Field);
std::string FieldPlaceholderText(const TField* Field);

// ---- TColumn ---------------------------------------------------------------------------------
class TColumn : public TCollectionItem {
  PLUMB_CLASS(TColumn, TCollectionItem)
  explicit TColumn(TCollection* Collection);
  ~TColumn() override;
  static void DescribeProperties(TPropertyList<TColumn>& P);

  void Assign(const TPersistent* Source) override;
  std::string GetDisplayName() const override;
  void SetIndex(int Value) override;

  TPlumbGrid* GetGrid() const;
  // Binds lazily: the first read while the grid's data set is open looks the field up.
  TField* GetField();
  // The field bound now, without binding one.
  TField* GetBoundField() const { return FBoundField; }
  virtual void SetField(TField* Value);
  const std::string& GetFieldName() const { return FSourceName; }
  void SetFieldName(const std::string& Value);
  const std::string& GetTitle() const { return FCaptionText; }
  void SetTitle(const std::string& Value);
  const std::string& GetIDCode() const { return FIdentCode; }
  void SetIDCode(const std::string& Value) { FIdentCode = Value; }
  bool IsTitleStored() const { return !FCaptionText.empty() || !FSourceName.empty(); }
  bool IsIDCodeStored() const { return IsTitleStored() || !FIdentCode.empty(); }

  // Assigned values: Get… reads the assigned value or the default, Is…Stored tells the
  // stream whether the value is the column's own.
  TColumnValues GetAssignedValues() const { return FAssignedSet; }
  TAlignment DefaultAlignment();
  TAlignment GetAlignment();
  bool IsAlignmentStored();
  virtual void SetAlignment(TAlignment Value);
  bool DefaultReadOnly();
  bool GetReadOnly();
  bool IsReadOnlyStored();
  virtual void SetReadOnly(bool Value);
  TImeMode DefaultImeMode() const;
  TImeMode GetImeMode() const;
  bool IsImeModeStored() const;
  virtual void SetImeMode(TImeMode Value);
  TImeName DefaultImeName() const;
  TImeName GetImeName() const;
  bool IsImeNameStored() const;
  virtual void SetImeName(const TImeName& Value);

  // Created on first read: never nil.
  TStrings* GetPickList();
  void SetPickList(const TStrings* Value);
  bool HasPickList() const { return FPickItems != nullptr; }
  TColumnButtonStyle GetButtonStyle() const { return FButtonKind; }
  void SetButtonStyle(TColumnButtonStyle Value);
  Cardinal GetDropDownRows() const { return FListRowCount; }
  void SetDropDownRows(Cardinal Value) { FListRowCount = Value; }
  TPopupMenu* GetPopupMenu() const { return FRowMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  // The effective mask: the column's own, else the field's, else what OnGetEditMask says.
  std::string GetEditMask();
  void SetEditMask(const std::string& Value) {
    FOwnMask = Value;
    EditorFollows();
  }
  void EditButtonClick();
  // The free value, shown and edited when no field is bound; setting it unbinds the column.
  std::string GetText() const;
  void SetText(const std::string& Value);
  const Variant& GetFreeValue() const { return FFreeValue; }
  void SetFreeValue(const Variant& Value) { FFreeValue = Value; }
  virtual void Refresh();

  // The tree.
  Cardinal GetIndentLevel() const { return FLevel; }
  void SetIndentLevel(Cardinal Value);
  bool GetExpanded() const { return FIsExpanded; }
  void SetExpanded(bool Value);
  bool GetHasChildren() const { return FHasChildren; }
  // The collapsed column's hidden direct children; empty while expanded.
  TPlumbGridColumns* GetHiddenChildren() const { return FHiddenChildren.get(); }
  // Relayout of the tree from this column (design time); the position where the walk stopped.
  Integer SetParentAndLevel();

  TNotifyEvent OnEditButtonClick;
  TGetMaskEvent OnGetEditMask;
  TGetTextEvent OnGetEditText;
  TGetTextEvent OnGetText;
  TSetEditEvent OnSetEditText;
  TSetTextEvent OnSetText;
  TValidateEvent OnValidate;

 private:
  friend class TPlumbGrid;
  friend class TPlumbGridColumns;
  friend class TGridDataLink;
  bool InGridColumns() const;
  TPlumbGridColumns* Owning() const;
  void RepaintRow();
  void EditorFollows();
  void FollowName(const std::string& OldName, const std::string& NewName);
  void FreeHiddenChildren();
  TColumn* FindParent(TCollection* C, int I, Cardinal Value);
  // Every setting, tree flags and events included: a stream copy of a hidden column.
  void CopyAll(const TColumn* Source);
  void CollapseAtRunTime();
  void CollapseAtDesignTime();
  void ExpandAtRunTime();
  void TreeChanged();

  // The tree fields come first: a collapse or expand reads them for every column it moves,
  // and they share a cache line with the item's own header.
  Cardinal FLevel = 0;
  bool FIsExpanded = false;
  bool FHasChildren = false;
  TField* FBoundField = nullptr;
  std::string FSourceName;
  std::string FCaptionText;
  Variant FFreeValue;
  std::unique_ptr<TStrings> FPickItems;
  TPopupMenu* FRowMenu = nullptr;
  Cardinal FListRowCount = 7;
  TColumnButtonStyle FButtonKind = cbsAuto;
  std::string FOwnMask;
  TAlignment FAlignValue = taLeftJustify;
  bool FReadOnlyValue = false;
  TColumnValues FAssignedSet;
  TImeMode FImeModeValue = imDontCare;
  TImeName FImeNameValue;
  std::unique_ptr<TPlumbGridColumns> FHiddenChildren;
  std::string FIdentCode;
};

// ---- TPlumbGridColumns -----------------------------------------------------------------------
class TPlumbGridColumns : public TCollection {
  PLUMB_CLASS(TPlumbGridColumns, TCollection)
  TPlumbGridColumns(TPlumbGrid* AGrid, TCollectionItemClass AItemClass, bool AddPlaceholder);
  ~TPlumbGridColumns() override;

  // Hands out the placeholder item first when one is pending.
  TColumn* Add();
  // Leaves one fresh placeholder item.
  void Clear();
  // By position or by code; deleting the last column leaves a placeholder.
  void Delete(const Variant& Index);
  // By position (an integer; a negative one gives nil) or by code (a string, any letter case).
  TColumn* GetColumn(const Variant& Index) const;
  TColumn* GetColumn(Integer Index) const;
  void SetColumn(const Variant& Index, TColumn* Value);
  // Visible columns first in row order, each followed by its hidden children (one level).
  TColumn* GetColByID(const Variant& ID) const;
  TPersistent* GetOwner() const override;
  TPlumbGrid* GetGrid() const { return FHostGrid; }
  bool GetPlaceholderPending() const { return FPlaceholderPending; }
  // A wholesale replacement (a stream's empty list, an empty source assigned) that leaves the
  // grid's own collection empty ends with a placeholder again.
  void EndUpdate() override;

 protected:
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

 private:
  friend class TColumn;
  TPlumbGrid* FHostGrid;
  bool FPlaceholderPending = false;
  // The last parent a level change found, for the column after it (see TColumn::FindParent);
  // any move of columns forgets it.
  struct {
    const TColumn* Searcher = nullptr;
    Cardinal Level = 0;
    TColumn* Parent = nullptr;
  } FParentMemo;
};

// ---- TGridDataLink ---------------------------------------------------------------------------
class TGridDataLink : public TDataLink {
  PLUMB_CLASS(TGridDataLink, TDataLink)
  explicit TGridDataLink(TPlumbGrid* AGrid) : FLinkedGrid(AGrid) {}

 protected:
  void ActiveChanged() override;
  void DataSetScrolled(Integer Distance) override;
  void RecordChanged(TField* Field) override;
  void UpdateData() override;

 private:
  TPlumbGrid* FLinkedGrid;
};

// ---- The editor with a button ----------------------------------------------------------------
// Which button the record grid's editor shows.
enum TEditorStyle : uint8_t { edsPlain, edsEllipsis, edsPickList, edsLookupList };

class TPlumbGridInplaceEdit;

// The pick list: a top-level tool window under the editor that never takes the focus but draws
// as focused, with an incremental search over what is typed into it.
class TPopupListbox : public TCustomListBox {
  PLUMB_CLASS(TPopupListbox, TCustomListBox)
  explicit TPopupListbox(TComponent* AOwner) : TCustomListBox(AOwner) {}
  void KeyPress(char32_t& Key) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  const std::string& GetTypedPrefix() const { return FTypedPrefix; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  std::string FTypedPrefix;
  DWORD FLastKeyTick = 0;
};

// Removes one pending Msg for Window from the queue; a WM_QUIT found on the way is posted again.
void DropPendingMessage(HWND Window, UINT Msg);

// The record grid's editor: an ellipsis button that fires the column's button click, or a
// drop-down arrow that opens a pick list or, for lookup fields, a lookup list.
class TPlumbGridInplaceEdit : public TInplaceEdit {
  PLUMB_CLASS(TPlumbGridInplaceEdit, TInplaceEdit)
  explicit TPlumbGridInplaceEdit(TComponent* AOwner);

  TEditorStyle GetEditorStyle() const { return FEditorStyle; }
  void SetEditorStyle(TEditorStyle Value);
  bool GetListShown() const { return FListShown; }
  TCustomListBox* GetCurrentList() const { return FCurrentList; }
  TPopupListbox* GetPickListBox() const { return FPickListBox; }
  TPopupDataList* GetLookupListBox() const { return FLookupListBox; }
  // The button area, in client coordinates; empty without a button.
  TRect ButtonRect();

  void OpenList();
  // Hides an open list, applies its choice when Accept, then commits the editor's text when
  // Accept (also with no list open).
  void CloseList(bool Accept);
  void HandleListKeys(Word& Key, TShiftState Shift);
  void TrackEditButton(Integer X, Integer Y);
  void EndButtonTracking();
  void ListMouseRelease(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                        Integer Y);
  TColumn* EditedColumn();
  void StoreEditText();

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void BoundsChanged() override;
  void UpdateContents() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 protected:
  void PaintWindow(HDC DC) override;

 private:
  TPlumbGrid* Grid() const;
  TColumn* CurrentColumn();
  TEditorStyle StyleFor(TColumn* Column);
  void ShowPickList(TColumn* Column);
  void ShowLookupList(TColumn* Column);
  void PlaceList();
  bool ApplyLookupChoice(const Variant& ListValue);
  void CommitText();
  void CMCancelMode(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void CyclePickList();

  Integer FEditButtonWidth = 0;
  TPopupDataList* FLookupListBox = nullptr;
  TPopupListbox* FPickListBox = nullptr;
  TCustomListBox* FCurrentList = nullptr;
  TDataSource* FLookupDataSource = nullptr;
  TEditorStyle FEditorStyle = edsPlain;
  bool FListShown = false;
  bool FButtonTracking = false;
  bool FButtonDown = false;
};

// ---- TPlumbGrid ------------------------------------------------------------------------------
class TPlumbGrid : public TCustomPlumbGrid {
  PLUMB_CLASS(TPlumbGrid, TCustomPlumbGrid)
  explicit TPlumbGrid(TComponent* AOwner);
  ~TPlumbGrid() override;
  static void DescribeProperties(TPropertyList<TPlumbGrid>& P);

  void Reset() override;
  void Loaded() override;
  TPlumbGridColumns* GetColumns() const { return FColumnList.get(); }
  // What a stream stores as Columns: the visible columns, or, while some are hidden, every
  // column in tree order, so that a grid saved at run time loses none.
  TPlumbGridColumns* GetStreamColumns();
  void SetPlumbGridColumns(TPlumbGridColumns* Value);
  TDataSource* GetDataSource() const;
  void SetDataSource(TDataSource* Value);
  TColor GetTitleTextColor() const { return FTitleColor; }
  void SetTitleTextColor(TColor Value);
  TColor GetDataTextColor() const { return FValueColor; }
  void SetDataTextColor(TColor Value);
  bool GetReadOnly() const { return FReadOnlyAll; }
  void SetReadOnly(bool Value) { FReadOnlyAll = Value; }
  virtual void Refresh();
  virtual void RefreshData();
  TRect CellRect(Integer ACol, Integer ARow);
  // -1, -1 off the cells.
  void MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow);

  // The published properties of the generic grid.
  using TCustomPlumbGrid::GetBorderStyle;
  using TCustomPlumbGrid::GetFixedColor;
  using TCustomPlumbGrid::GetFixedRows;
  using TCustomPlumbGrid::GetFocusBorder;
  using TCustomPlumbGrid::GetGridLineWidth;
  using TCustomPlumbGrid::GetOptions;
  using TCustomPlumbGrid::GetRowHeight;
  using TCustomPlumbGrid::GetVisibleRowCount;
  using TCustomPlumbGrid::SetBorderStyle;
  using TCustomPlumbGrid::SetDefaultRowHeight;
  using TCustomPlumbGrid::SetFixedColor;
  using TCustomPlumbGrid::SetFixedRows;
  using TCustomPlumbGrid::SetFocusBorder;
  using TCustomPlumbGrid::SetGridLineWidth;
  using TCustomPlumbGrid::SetOptions;

  TNotifyEvent OnTopLeftChanged;
  TNotifyEvent OnColEnter;
  TNotifyEvent OnColExit;
  TEditButtonClick OnEditButtonClick;

 protected:
  virtual TPlumbGridColumns* CreateColumns();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ColEnter() override;
  void ColExit() override;
  TInplaceEdit* CreateEditor() override;
  void DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) override;
  void DefaultHandler(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  std::string GetEditMask(Integer ACol, Integer ARow) override;
  std::string GetEditText(Integer ACol, Integer ARow) override;
  void SetEditText(Integer ACol, Integer ARow, const std::string& Value) override;
  void TopLeftChanged() override;
  void DblClick() override;

  // Input method per row.
  void SetIme();
  void UpdateIme();
  void WMIMEStartComp(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);

  // Around every change of which column sits at which row: the editor's text goes to the
  // column it was typed for while that column still sits at its row, and the editor comes
  // back afterwards over whatever column is current then.
  void BeginRowsChange();
  void EndRowsChange();
  template <class F>
  void WithRowsChange(F&& Change) {
    BeginRowsChange();
    try {
      Change();
    } catch (...) {
      EndRowsChange();
      throw;
    }
    EndRowsChange();
  }
  // The grid's row count follows the visible columns.
  void SyncRowCount();

  std::unique_ptr<TGridDataLink> FGridLink;
  std::unique_ptr<TPlumbGridColumns> FColumnList;
  bool FReadOnlyAll = false;
  TColor FTitleColor = clWindowText;
  TColor FValueColor = clWindowText;
  bool FEditStartedByGrid = false;
  bool FImeComposing = false;
  TImeName FSavedImeName;
  TImeMode FSavedImeMode = imDontCare;

 private:
  friend class TColumn;
  friend class TPlumbGridColumns;
  friend class TGridDataLink;
  friend class TPlumbGridInplaceEdit;
  // What the editor was last loaded with: its text unchanged writes nothing, and going back to
  // it puts back the value the row had then.
  void NoteEditorLoaded(const std::string& Text);
  bool UnchangedText(Integer ARow, const std::string& Text) const {
    return FLoaded && ARow == FLoadedRow && Text == FLoadedText;
  }
  // Writes text into a field; a text the field cannot take is reported, not raised, and the
  // field keeps its last valid value. EditAlways puts the data set into edit state whatever
  // its state; otherwise only from browse.
  bool WriteFieldText(TField* Field, const std::string& Text, bool EditAlways);
  void RestoreLoadedValue(TColumn* Column);
  // Before the data set posts: the editor's pending text goes into the record as a commit
  // takes it. Whatever refuses it (the column's OnValidate, the field, OnSetEditText) raises,
  // which stops the post with the user's text kept for correcting.
  void UpdateData();
  void WriteCellText(const TRect& ARect, Integer TextDX, Integer TextDY, const std::string& Text,
                     TAlignment Alignment, TColor Colour, TGridDrawState AState);
  std::string ValueText(TColumn* Column, Integer ACol, Integer ARow);
  TDataSet* LinkedDataSet() const { return FGridLink ? FGridLink->GetDataSet() : nullptr; }
  void ForEachColumn(const std::function<void(TColumn*)>& Visit);

  std::unique_ptr<TPlumbGridColumns> FStreamColumns;
  bool FLoaded = false;
  Integer FLoadedRow = -1;
  std::string FLoadedText;
  Variant FLoadedValue;
  int FRowsChangeDepth = 0;
  bool FSetEditFailed = false;  // OnSetEditText raised for the text the editor holds now
  bool FEditorWasShown = false;
};

}  // namespace plumb
