#pragma once
// Form streams: TWriter writes a component, with everything it owns, as a JSON document;
// TReader reads one back. A document holds one object per component:
//
//   {"class": "TForm1", "name": "Form1",
//    "properties": {"Caption": "Orders", "Options": ["goEditing"], "Font": {"Size": 10},
//                   "Columns": [{"FieldName": "Name"}], "OnClick": "FormClick",
//                   "DataSource": "Source1", "ColWidths": [64, 100]},
//    "components": [{"class": "TDataSource", "name": "Source1", ...}]}
//
// "properties" holds the published properties that are stored (see TypeInfo.h), in
// declaration order, then the data of DefineProperties. A component that exists in an
// ancestor form carries "inherited": true and only what differs from the ancestor.
//
// Reading calls the setters in stream order with csLoading set, fixes up references by name
// once the whole stream is read, binds events to the root's named handlers, and then calls
// Loaded on every component read. Bad input raises EReadError naming the component, the
// property and the value, and leaves the components as they were.
#include <functional>
#include <memory>
#include <string>

#include "Component.h"

namespace plumb {

class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;

enum TValueType { vaNull, vaList, vaInteger, vaFloat, vaString, vaFalse, vaTrue, vaObject };

class TFiler : public TObject {
  PLUMB_CLASS(TFiler, TObject)
  TComponent* GetRoot() const { return FRoot; }
  // While an object's properties are written for an inherited form: the same object of the
  // ancestor form. Only what differs from it is written. nullptr otherwise, and when reading.
  TPersistent* GetAncestor() const { return FAncestor; }
  // Extra data an object stores beside its published properties, from its DefineProperties:
  // WriteData runs only when HasData holds, and must write exactly one value (a list is one).
  virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                              bool HasData) = 0;

 protected:
  TComponent* FRoot = nullptr;
  TPersistent* FAncestor = nullptr;
};

class TWriter : public TFiler {
  PLUMB_CLASS(TWriter, TFiler)
  TWriter();
  ~TWriter() override;

  // Root with everything it owns, as JSON text. Owned components without a name are internal
  // parts of their owner and are not written.
  std::string WriteRootComponent(TComponent* Root);
  // Only what differs from Ancestor, an instance of the form Root inherits from.
  std::string WriteDescendent(TComponent* Root, TComponent* Ancestor);

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  // For a defined property's WriteData.
  void WriteListBegin();
  void WriteListEnd();
  void WriteInteger(Int64 Value);
  void WriteBoolean(bool Value);
  void WriteFloat(double Value);
  void WriteString(const std::string& Value);

  struct TImpl;

 private:
  std::unique_ptr<TImpl> FImpl;
};

class TReader : public TFiler {
  PLUMB_CLASS(TReader, TFiler)
  explicit TReader(std::string Text);
  ~TReader() override;

  // Reads into Root, whose class must be the stream's or a descendant of it; with nullptr,
  // creates the root from its registered class (the caller owns it).
  TComponent* ReadRootComponent(TComponent* Root);

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  // For a defined property's ReadData. Reading past the end of a list, leaving values unread
  // or finding a value of another kind raises EReadError.
  void ReadListBegin();
  void ReadListEnd();
  bool EndOfList() const;
  TValueType NextValue() const;
  Integer ReadInteger();
  Int64 ReadInt64();
  bool ReadBoolean();
  double ReadFloat();
  std::string ReadString();
  // For a defined property's ReadData: how to put the component back as it was should the
  // read fail anywhere later on, newest step first. A property that registers a step is no
  // longer put back by rereading its old value, which cannot bring back data that was absent.
  // Ignored for a component that this read created (it goes away whole).
  void UndoOnFailure(std::function<void()> Step);

  struct TImpl;

 private:
  std::unique_ptr<TImpl> FImpl;
};

// Saving and loading whole components. Load with Instance == nullptr creates the component
// from the stream's class; otherwise it reads into Instance and returns it.
std::string SaveComponentToString(TComponent* Instance, TComponent* Ancestor = nullptr);
TComponent* LoadComponentFromString(const std::string& Text, TComponent* Instance = nullptr);
// Raises EFOpenError when the file cannot be created or opened.
void SaveComponentToFile(const std::string& FileName, TComponent* Instance,
                         TComponent* Ancestor = nullptr);
TComponent* LoadComponentFromFile(const std::string& FileName, TComponent* Instance = nullptr);

}  // namespace plumb
