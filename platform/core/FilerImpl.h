#pragma once
// Inside the form streams: the JSON document type and the state of a writer and a reader.
// Only Writer.cpp and Reader.cpp include this; everyone else sees Filer.h.
#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Collection.h"
#include "Filer.h"
#include "Strings.h"
#include "TypeInfo.h"

namespace plumb {

// Ordered, so that properties are read back in the order they were written.
using TJson = nlohmann::ordered_json;

// A short, single-line form of a value for error messages; long values end in "...".
std::string JsonValueText(const TJson& Value);

struct TWriter::TImpl {
  explicit TImpl(TWriter* ASelf) : Self(ASelf) {}

  std::string Write(TComponent* Root, TComponent* Ancestor);
  TJson Component(TComponent* C, TComponent* Ancestor, bool IsRoot);
  TJson Properties(TPersistent* Instance, TPersistent* Ancestor);
  void Property(TPersistent* Instance, const TPropInfo& P, TPersistent* Ancestor, TJson& Out);
  void Ordinal(TPersistent* Instance, const TPropInfo& P, TPersistent* Ancestor,
               const TPropInfo* AP, TJson& Out);
  void Reference(TPersistent* Instance, const TPropInfo& P, TPersistent* Ancestor,
                 const TPropInfo* AP, TJson& Out);
  void Object(TPersistent* Instance, const TPropInfo& P, TPersistent* Ancestor, const TPropInfo* AP,
              TJson& Out);
  TJson Collection(TCollection* C);
  TJson AncestorCollection(TCollection* C);
  TJson OrdinalValue(const TPropInfo& P, Int64 Value);
  void Append(TJson Value);
  [[noreturn]] void Fail(const std::string& Prop, const std::string& Why) const;
  // The value a defined property's WriteData produces, outside any document (a reader keeps
  // it to put the property back when reading fails).
  static TJson Capture(TComponent* Root, const TWriterProc& WriteData);

  TWriter* Self;
  TComponent* AncestorRoot = nullptr;
  TJson* Props = nullptr;  // the properties object DefineProperty adds to
  std::string Path;        // the object being written, for messages
  int Depth = 0;
  bool InDefined = false;
  std::vector<TJson> Values;  // what a defined property wrote
  std::vector<TJson*> Lists;  // its open lists, innermost last
};

struct TReader::TImpl {
  explicit TImpl(TReader* ASelf, std::string AText) : Self(ASelf), Text(std::move(AText)) {}

  // A reference to fix up once every component is there.
  struct TFixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::string Name;
    bool Track;
    std::string Path;
    const TJson* Value;
  };
  // A cursor over a defined property's value: the value itself, or a list inside it.
  struct TFrame {
    const TJson* Node;
    size_t Pos;
    bool Single;
    size_t Size() const { return Single ? 1 : Node->size(); }
    const TJson& At(size_t I) const { return Single ? *Node : (*Node)[I]; }
  };
  struct THeader {
    std::string Class;
    std::string Name;
    bool Inherited = false;
    const TJson* Props = nullptr;
    const TJson* Kids = nullptr;
  };
  // Sets the spot that error messages name, and puts the old one back on leaving.
  struct TSpot {
    TSpot(TImpl& AI, std::string APath, std::string AProp, const TJson* AValue);
    ~TSpot();
    TImpl& I;
    std::string OldPath, OldProp;
    const TJson* OldValue;
  };

  TComponent* Read(TComponent* Root);
  void Parse();
  TComponent* CreateRoot();
  THeader Header(const TJson& J);
  void Component(TComponent* C, const TJson& J, bool Track, bool IsRoot);
  void CheckRootClass(TComponent* Root, const std::string& Class);
  void Child(TComponent* Owner, const TJson& J, bool Track);
  void Properties(TPersistent* Instance, const TJson& J, bool Track);
  void Property(TPersistent* Instance, const std::string& Name, const TJson& V, bool Track);
  void PropertyValue(TPersistent* Instance, const TPropInfo& P, const TJson& V, bool Track);
  Int64 OrdinalValue(const TPropInfo& P, const TJson& V);
  Int64 IntegerValue(const TJson& V, Int64 Min, Int64 Max);
  void Event(TPersistent* Instance, const TPropInfo& P, const TJson& V, bool Track);
  void Object(TPersistent* Instance, const TPropInfo& P, const TJson& V, bool Track);
  void Strings(TStrings* S, const TJson& V, bool Track);
  void Collection(TCollection* C, const std::string& Name, const TJson& V, bool Track);
  bool Defined(TPersistent* Instance, const std::string& Name, const TJson& V, bool Track);
  void RunDefined(const TReaderProc& ReadData, const TJson& V);
  const TJson& NextItem();
  TComponent* FindReference(const std::string& Name) const;
  void ResolveFixups();
  void Rollback();
  void Finish();
  [[noreturn]] void Fail(const std::string& Why) const;

  TReader* Self;
  std::string Text;
  TJson Doc;
  // The spot being read, for messages.
  std::string Path;
  std::string Prop;
  const TJson* Value = nullptr;
  int Depth = 0;
  // The defined property being read, and the one DefineProperties is asked for.
  bool InDefined = false;
  std::vector<TFrame> Frames;
  // Whether the defined property being read belongs to a component that existed before, and
  // where its generic undo step sits in Undo (one the property's own step replaces).
  bool DefinedTrack = false;
  size_t DefinedUndo = SIZE_MAX;
  const std::string* Seek = nullptr;
  bool Found = false;
  TReaderProc FoundRead;
  TWriterProc FoundWrite;
  // Undo steps for what existed before reading, newest last; steps that run only once
  // reading has succeeded (freeing replaced collection items).
  std::vector<std::function<void()>> Undo;
  std::vector<std::function<void()>> Commit;
  std::vector<TComponent*> Marked;  // existing components given csLoading
  std::vector<TComponent*> Loaded;  // every component read, in stream order
  std::vector<TFixup> Fixups;
};

}  // namespace plumb
