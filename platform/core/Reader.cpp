// TReader: a JSON form document into a component tree.
//
//   ReadRootComponent -> Read
//     Parse, then Component on the root (CreateRoot first when there is none)
//       Header      checks the component object's keys
//       Properties  Property for each key in stream order: published ones through
//                   PropertyValue (ordinals, strings, events, owned objects, collections),
//                   others through Defined (DefineProperties); references wait as fixups
//       Child       finds an owned component by name or creates it from its class
//     ResolveFixups, then Finish (commit, Loaded on every component read)
//   On any failure Rollback undoes, newest first, what was changed on components that
//   existed before (each setter's old value, replaced collection items, created children),
//   and the error leaves as EReadError naming the component, the property and the value.
//
// The cursor of defined properties (ReadList*, Read*) is at the end.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "Exceptions.h"
#include "FilerImpl.h"

namespace plumb {

namespace {

constexpr int MaxDepth = 64;

bool IsOfClass(const TComponent* C, const std::string& ClassName) {
  for (TClass K = C->ClassType(); K; K = K->Parent)
    if (SameText(K->Name, ClassName)) return true;
  return false;
}

const TJson* Member(const TJson& J, const char* Key) {
  auto It = J.find(Key);
  return It == J.end() ? nullptr : &*It;
}

}  // namespace

TReader::TImpl::TSpot::TSpot(TImpl& AI, std::string APath, std::string AProp, const TJson* AValue)
    : I(AI), OldPath(std::move(AI.Path)), OldProp(std::move(AI.Prop)), OldValue(AI.Value) {
  I.Path = std::move(APath);
  I.Prop = std::move(AProp);
  I.Value = AValue;
}

TReader::TImpl::TSpot::~TSpot() {
  I.Path = std::move(OldPath);
  I.Prop = std::move(OldProp);
  I.Value = OldValue;
}

void TReader::TImpl::Fail(const std::string& Why) const {
  std::string Msg = "Error reading " + (Path.empty() ? std::string("form stream") : Path);
  if (!Prop.empty()) Msg += "." + Prop;
  if (Value) Msg += " = " + JsonValueText(*Value);
  throw EReadError(Msg + ": " + Why);
}

// ---- The whole stream ---------------------------------------------------------------------

TComponent* TReader::TImpl::Read(TComponent* Root) {
  Parse();
  bool Created = !Root;
  try {
    if (Created) Root = CreateRoot();
    Self->FRoot = Root;
    Path = Root->GetName().empty() ? Root->ClassName() : Root->GetName();
    Component(Root, Doc, !Created, true);
    ResolveFixups();
  } catch (...) {
    Rollback();
    if (Created && Root) Root->Free();
    throw;
  }
  try {
    Finish();
  } catch (...) {
    if (Created) Root->Free();
    throw;
  }
  return Root;
}

void TReader::TImpl::Parse() {
  try {
    Doc = TJson::parse(Text);
  } catch (const TJson::parse_error& E) {
    throw EReadError("Error reading form stream: not valid JSON at byte " + std::to_string(E.byte) +
                     " (" + E.what() + ")");
  } catch (const TJson::exception& E) {
    // A number beyond any double is not a parse error to the parser, but it is to us.
    throw EReadError(std::string("Error reading form stream: not valid JSON (") + E.what() + ")");
  }
  if (!Doc.is_object()) Fail("expected a component object");
}

TComponent* TReader::TImpl::CreateRoot() {
  THeader H = Header(Doc);
  TSpot S(*this, H.Name.empty() ? H.Class : H.Name, "", nullptr);
  TClass Class = GetClass(H.Class);
  if (!Class) Fail("class " + H.Class + " is not registered");
  try {
    return CreateComponent(Class, nullptr);
  } catch (const std::exception& E) {
    Fail(E.what());
  }
}

void TReader::TImpl::Finish() {
  for (auto& Step : Commit) Step();
  Commit.clear();
  Undo.clear();
  std::vector<TComponent*> Read = std::move(Loaded);
  for (TComponent* C : Read) C->Loaded();
}

void TReader::TImpl::Rollback() {
  // Put the old values back as ordinary changes, not as loading.
  for (TComponent* C : Marked) C->SetLoading(false);
  DefinedTrack = false;  // a read procedure run by a step below registers nothing more
  for (auto It = Undo.rbegin(); It != Undo.rend(); ++It) {
    try {
      (*It)();
    } catch (...) {
      // Best effort: one value that will not go back must not keep the others from it.
    }
  }
  Undo.clear();
  Commit.clear();
  Marked.clear();
  Loaded.clear();
  Fixups.clear();
}

// ---- Components ---------------------------------------------------------------------------

TReader::TImpl::THeader TReader::TImpl::Header(const TJson& J) {
  if (!J.is_object()) Fail("expected a component object");
  THeader H;
  bool HasClass = false;
  for (auto It = J.begin(); It != J.end(); ++It) {
    const std::string& Key = It.key();
    const TJson& V = It.value();
    TSpot S(*this, Path, Key, &V);
    if (Key == "class" && V.is_string()) {
      H.Class = V.get<std::string>();
      HasClass = true;
    } else if (Key == "name" && V.is_string()) {
      H.Name = V.get<std::string>();
    } else if (Key == "inherited" && V.is_boolean()) {
      H.Inherited = V.get<bool>();
    } else if (Key == "properties" && V.is_object()) {
      H.Props = &V;
    } else if (Key == "components" && V.is_array()) {
      H.Kids = &V;
    } else {
      Fail(Key == "class" || Key == "name" || Key == "inherited" || Key == "properties" ||
                   Key == "components"
               ? "a value of the wrong kind"
               : "not a key of a component");
    }
  }
  if (!HasClass) Fail("the component has no class");
  return H;
}

void TReader::TImpl::CheckRootClass(TComponent* Root, const std::string& Class) {
  if (IsOfClass(Root, Class)) return;
  Fail("the stream holds a " + Class + ", not a " + Root->ClassName());
}

void TReader::TImpl::Component(TComponent* C, const TJson& J, bool Track, bool IsRoot) {
  THeader H = Header(J);
  if (++Depth > MaxDepth) Fail("components nest too deeply");
  if (std::find(Loaded.begin(), Loaded.end(), C) != Loaded.end())
    Fail("the component appears twice in the stream");
  if (IsRoot) {
    CheckRootClass(C, H.Class);
    if (!H.Name.empty() && H.Name != C->GetName()) {
      TSpot S(*this, Path, "name", Member(J, "name"));
      if (Track) Undo.push_back([C, Old = C->GetName()] { C->SetName(Old); });
      try {
        C->SetName(H.Name);
      } catch (const std::exception& E) {
        Fail(E.what());
      }
    }
    Path = C->GetName().empty() ? C->ClassName() : C->GetName();
  }
  if (!C->IsLoading()) {
    C->SetLoading(true);
    if (Track) Marked.push_back(C);
  }
  Loaded.push_back(C);
  if (H.Props) Properties(C, *H.Props, Track);
  if (H.Kids)
    for (const TJson& K : *H.Kids) Child(C, K, Track);
  --Depth;
}

void TReader::TImpl::Child(TComponent* Owner, const TJson& J, bool Track) {
  THeader H = Header(J);
  TSpot S(*this, Path + "." + (H.Name.empty() ? "?" : H.Name), "", nullptr);
  if (!IsValidIdent(H.Name)) {
    TSpot N(*this, Path, "name", Member(J, "name"));
    Fail("a component needs a valid name");
  }
  if (TComponent* Existing = Owner->FindComponent(H.Name)) {
    if (!IsOfClass(Existing, H.Class))
      Fail("the component is a " + Existing->ClassName() + ", the stream names a " + H.Class);
    Component(Existing, J, Track, false);
    return;
  }
  if (H.Inherited) Fail("the ancestor has no component of that name");
  TClass Class = GetClass(H.Class);
  if (!Class) Fail("class " + H.Class + " is not registered");
  TComponent* New = nullptr;
  try {
    New = CreateComponent(Class, Owner);
  } catch (const std::exception& E) {
    Fail(E.what());
  }
  if (Track) Undo.push_back([New] { New->Free(); });
  try {
    New->SetName(H.Name);
    New->SetParentComponent(Owner);
  } catch (const std::exception& E) {
    Fail(E.what());
  }
  Component(New, J, false, false);
}

// ---- Properties ---------------------------------------------------------------------------

void TReader::TImpl::Properties(TPersistent* Instance, const TJson& J, bool Track) {
  if (!J.is_object()) Fail("expected an object of properties");
  if (++Depth > MaxDepth) Fail("objects nest too deeply");
  // Pushed before any of its properties is set, so it runs after they are all undone.
  if (Track)
    if (std::function<void()> Step = Instance->SideEffectsUndo()) Undo.push_back(std::move(Step));
  std::vector<std::string> Seen;
  for (auto It = J.begin(); It != J.end(); ++It) {
    for (const std::string& Name : Seen)
      if (SameText(Name, It.key())) {
        TSpot S(*this, Path, It.key(), &It.value());
        Fail("the property is given twice");
      }
    Seen.push_back(It.key());
    Property(Instance, It.key(), It.value(), Track);
  }
  --Depth;
}

void TReader::TImpl::Property(TPersistent* Instance, const std::string& Name, const TJson& V,
                              bool Track) {
  TSpot S(*this, Path, Name, &V);
  const TPropInfo* P = GetPropInfo(Instance->ClassType(), Name);
  try {
    if (P) {
      if (!P->IsWritable()) Fail("the property is read-only");
      PropertyValue(Instance, *P, V, Track);
    } else if (!Defined(Instance, Name, V, Track)) {
      Fail("no such property in " + Instance->ClassName());
    }
  } catch (const EReadError&) {
    throw;
  } catch (const std::exception& E) {
    // A setter refused the value.
    Fail(E.what());
  }
}

void TReader::TImpl::PropertyValue(TPersistent* Instance, const TPropInfo& P, const TJson& V,
                                   bool Track) {
  if (P.IsOrdinal()) {
    Int64 N = OrdinalValue(P, V);
    if (Track && P.Snapshot) Undo.push_back(P.Snapshot(Instance));
    P.SetOrd(Instance, N);
  } else if (P.Kind == pkString) {
    if (!V.is_string()) Fail("expected a string");
    if (Track && P.Snapshot) Undo.push_back(P.Snapshot(Instance));
    P.SetStr(Instance, V.get<std::string>());
  } else if (P.Kind == pkComponent) {
    if (!V.is_string() && !V.is_null()) Fail("expected a component name");
    std::string Name = V.is_string() ? V.get<std::string>() : "";
    Fixups.push_back({Instance, &P, Name, Track, Path, &V});
  } else if (P.Kind == pkEvent) {
    Event(Instance, P, V, Track);
  } else {
    Object(Instance, P, V, Track);
  }
}

Int64 TReader::TImpl::IntegerValue(const TJson& V, Int64 Min, Int64 Max) {
  if (V.is_number_unsigned()) {
    uint64_t U = V.get<uint64_t>();
    if (Max < 0 || U > uint64_t(Max))
      Fail("out of range " + std::to_string(Min) + ".." + std::to_string(Max));
    return Int64(U);
  }
  if (!V.is_number_integer()) Fail("expected an integer");
  Int64 N = V.get<Int64>();
  if (N < Min || N > Max) Fail("out of range " + std::to_string(Min) + ".." + std::to_string(Max));
  return N;
}

Int64 TReader::TImpl::OrdinalValue(const TPropInfo& P, const TJson& V) {
  switch (P.Kind) {
    case pkBoolean:
      if (!V.is_boolean()) Fail("expected true or false");
      return V.get<bool>() ? 1 : 0;
    case pkEnumeration: {
      int N = V.is_string() ? P.EnumType->ValueOf(V.get<std::string>()) : -1;
      if (N < 0) Fail("not a value of " + std::string(P.EnumType->Name));
      return N;
    }
    case pkSet: {
      if (!V.is_array()) Fail("expected a list of " + std::string(P.EnumType->Name) + " values");
      Int64 Bits = 0;
      for (const TJson& E : V) {
        int N = E.is_string() ? P.EnumType->ValueOf(E.get<std::string>()) : -1;
        if (N < 0 || N >= 63 || (Int64(1) << N) > P.MaxValue)
          Fail(JsonValueText(E) + " is not a value of " + P.EnumType->Name);
        Bits |= Int64(1) << N;
      }
      return Bits;
    }
    case pkColor: {
      if (!V.is_string()) return IntegerValue(V, INT32_MIN, INT32_MAX);
      int32_t Color = 0;
      if (!ColorPropFromIdent(V.get<std::string>(), Color)) Fail("not a colour name");
      return Color;
    }
    default:
      return IntegerValue(V, P.MinValue, P.MaxValue);
  }
}

void TReader::TImpl::Event(TPersistent* Instance, const TPropInfo& P, const TJson& V, bool Track) {
  std::any Handler;
  std::string Name;
  if (V.is_string()) {
    TComponent* Root = Self->FRoot;
    const TMethodInfo* M = FindMethod(Root->ClassType(), V.get<std::string>());
    if (!M) Fail(Root->ClassName() + " has no handler of that name");
    if (*M->Signature != *P.EventSignature) Fail("the handler does not fit the event");
    Handler = M->Bind(Root);
    Name = M->Name;
  } else if (!V.is_null()) {
    Fail("expected a handler name");
  }
  if (Track) Undo.push_back(P.Snapshot(Instance));
  P.SetEvent(Instance, Handler, Name);
}

void TReader::TImpl::Object(TPersistent* Instance, const TPropInfo& P, const TJson& V, bool Track) {
  TObject* Sub = P.GetObj(Instance);
  if (auto* C = dynamic_cast<TCollection*>(Sub)) return Collection(C, P.Name, V, Track);
  if (auto* S = dynamic_cast<TStrings*>(Sub)) return Strings(S, V, Track);
  auto* Nested = dynamic_cast<TPersistent*>(Sub);
  if (!Nested) Fail("there is no object to read into");
  TSpot Spot(*this, Path + "." + P.Name, "", nullptr);
  Properties(Nested, V, Track);
}

void TReader::TImpl::Strings(TStrings* S, const TJson& V, bool Track) {
  if (!V.is_array()) Fail("expected a list of strings");
  for (const TJson& E : V)
    if (!E.is_string()) Fail(JsonValueText(E) + " is not a string");
  if (Track)
    Undo.push_back([S, Old = S->ToVector()] {
      S->BeginUpdate();
      S->Clear();
      for (const std::string& Line : Old) S->Add(Line);
      S->EndUpdate();
    });
  S->BeginUpdate();
  S->Clear();
  for (const TJson& E : V) S->Add(E.get<std::string>());
  S->EndUpdate();
}

void TReader::TImpl::Collection(TCollection* C, const std::string& Name, const TJson& V,
                                bool Track) {
  if (!V.is_array()) Fail("expected a list of items");
  std::string Base = Path + "." + Name;
  C->BeginUpdate();
  try {
    if (Track) {
      // The old items stay whole until reading has succeeded, so they can come back.
      std::vector<TCollectionItem*> Old = C->ExtractAll();
      Undo.push_back([C, Old] {
        // One update: a collection that must never be empty sees only the end result.
        C->BeginUpdate();
        C->Clear();
        C->RestoreAll(Old);
        C->EndUpdate();
      });
      Commit.push_back([Old] {
        for (TCollectionItem* Item : Old) delete Item;
      });
    } else {
      C->Clear();
    }
    for (size_t N = 0; N < V.size(); ++N) {
      TSpot S(*this, Base + "[" + std::to_string(N) + "]", "", &V[N]);
      if (!V[N].is_object()) Fail("expected an object of item properties");
      TCollectionItem* Item = C->Add();
      Properties(Item, V[N], false);
    }
  } catch (...) {
    C->EndUpdate();
    throw;
  }
  C->EndUpdate();
}

// ---- References ---------------------------------------------------------------------------

// A name path from the root down ("Panel1.Edit1"); it may start with the root's own name.
TComponent* TReader::TImpl::FindReference(const std::string& Name) const {
  TComponent* Root = Self->FRoot;
  std::vector<std::string> Parts;
  std::stringstream In(Name);
  for (std::string Part; std::getline(In, Part, '.');) Parts.push_back(Part);
  if (Parts.empty()) return nullptr;
  if (Parts.size() == 1) {
    if (TComponent* C = Root->FindComponent(Parts[0])) return C;
    return SameText(Parts[0], Root->GetName()) ? Root : nullptr;
  }
  size_t First = 0;
  if (SameText(Parts[0], Root->GetName()) && !Root->FindComponent(Parts[0])) First = 1;
  TComponent* C = Root;
  for (size_t I = First; I < Parts.size() && C; ++I) C = C->FindComponent(Parts[I]);
  return C;
}

void TReader::TImpl::ResolveFixups() {
  for (const TFixup& F : Fixups) {
    TSpot S(*this, F.Path, F.Prop->Name, F.Value);
    TComponent* C = nullptr;
    if (!F.Name.empty()) {
      C = FindReference(F.Name);
      if (!C) Fail("no component of that name");
      if (!C->InheritsFrom(F.Prop->ObjClass))
        Fail("the component is a " + C->ClassName() + ", not a " + F.Prop->ObjClass->Name);
    }
    if (F.Track && F.Prop->Snapshot) Undo.push_back(F.Prop->Snapshot(F.Instance));
    try {
      F.Prop->SetObj(F.Instance, C);
    } catch (const EReadError&) {
      throw;
    } catch (const std::exception& E) {
      Fail(E.what());
    }
  }
  Fixups.clear();
}

// ---- Defined properties -------------------------------------------------------------------

bool TReader::TImpl::Defined(TPersistent* Instance, const std::string& Name, const TJson& V,
                             bool Track) {
  Seek = &Name;
  Found = false;
  FoundRead = nullptr;
  FoundWrite = nullptr;
  try {
    Instance->DefineProperties(Self);
  } catch (...) {
    Seek = nullptr;
    throw;
  }
  Seek = nullptr;
  if (!Found) return false;
  TReaderProc ReadData = std::move(FoundRead);
  TWriterProc WriteData = std::move(FoundWrite);
  if (!ReadData) return true;
  // Unless the read procedure registers its own step (UndoOnFailure), the property's write
  // and read procedures carry its old value back on failure. Only its values come back that
  // way: a property that had no data would return with its current values written out.
  DefinedTrack = Track;
  DefinedUndo = SIZE_MAX;
  if (Track && WriteData) {
    TJson Old = TWriter::TImpl::Capture(Self->FRoot, WriteData);
    Undo.push_back([this, ReadData, Old] { RunDefined(ReadData, Old); });
    DefinedUndo = Undo.size() - 1;
  }
  RunDefined(ReadData, V);
  return true;
}

void TReader::TImpl::RunDefined(const TReaderProc& ReadData, const TJson& V) {
  InDefined = true;
  Frames.assign(1, TFrame{&V, 0, true});
  try {
    ReadData(Self);
    if (Frames.size() > 1) Fail("a list was left unfinished");
    if (Frames.front().Pos == 0) Fail("the value was not read");
  } catch (...) {
    InDefined = false;
    Frames.clear();
    throw;
  }
  InDefined = false;
  Frames.clear();
}

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                             bool HasData) {
  (void)HasData;
  TImpl& I = *FImpl;
  if (!I.Seek || I.Found || !SameText(Name, *I.Seek)) return;
  I.Found = true;
  I.FoundRead = std::move(ReadData);
  I.FoundWrite = std::move(WriteData);
}

void TReader::UndoOnFailure(std::function<void()> Step) {
  TImpl& I = *FImpl;
  if (!I.InDefined) throw EReadError("Undo steps are registered only by a defined property");
  if (!I.DefinedTrack || !Step) return;
  if (I.DefinedUndo < I.Undo.size()) {
    I.Undo[I.DefinedUndo] = std::move(Step);
    I.DefinedUndo = SIZE_MAX;
  } else {
    I.Undo.push_back(std::move(Step));
  }
}

const TJson& TReader::TImpl::NextItem() {
  if (!InDefined) throw EReadError("Values are read only by a defined property");
  TFrame& F = Frames.back();
  if (F.Pos >= F.Size())
    Fail(F.Single ? "no more values to read" : "the list holds fewer values than are read");
  return F.At(F.Pos++);
}

void TReader::ReadListBegin() {
  const TJson& V = FImpl->NextItem();
  if (!V.is_array()) FImpl->Fail("expected a list, found " + JsonValueText(V));
  FImpl->Frames.push_back({&V, 0, false});
}

void TReader::ReadListEnd() {
  TImpl& I = *FImpl;
  if (!I.InDefined || I.Frames.size() < 2) I.Fail("ReadListEnd without ReadListBegin");
  if (!EndOfList()) I.Fail("the list holds more values than are read");
  I.Frames.pop_back();
}

bool TReader::EndOfList() const {
  const TImpl& I = *FImpl;
  return !I.InDefined || I.Frames.back().Pos >= I.Frames.back().Size();
}

TValueType TReader::NextValue() const {
  if (EndOfList()) return vaNull;
  const TImpl::TFrame& F = FImpl->Frames.back();
  const TJson& V = F.At(F.Pos);
  if (V.is_array()) return vaList;
  if (V.is_object()) return vaObject;
  if (V.is_boolean()) return V.get<bool>() ? vaTrue : vaFalse;
  if (V.is_number_integer()) return vaInteger;
  if (V.is_number()) return vaFloat;
  if (V.is_string()) return vaString;
  return vaNull;
}

Integer TReader::ReadInteger() {
  return Integer(FImpl->IntegerValue(FImpl->NextItem(), INT32_MIN, INT32_MAX));
}

Int64 TReader::ReadInt64() {
  return FImpl->IntegerValue(FImpl->NextItem(), INT64_MIN, INT64_MAX);
}

bool TReader::ReadBoolean() {
  const TJson& V = FImpl->NextItem();
  if (!V.is_boolean()) FImpl->Fail("expected true or false, found " + JsonValueText(V));
  return V.get<bool>();
}

double TReader::ReadFloat() {
  const TJson& V = FImpl->NextItem();
  if (!V.is_number()) FImpl->Fail("expected a number, found " + JsonValueText(V));
  return V.get<double>();
}

std::string TReader::ReadString() {
  const TJson& V = FImpl->NextItem();
  if (!V.is_string()) FImpl->Fail("expected a string, found " + JsonValueText(V));
  return V.get<std::string>();
}

// ---- Entry points -------------------------------------------------------------------------

TReader::TReader(std::string Text) : FImpl(std::make_unique<TImpl>(this, std::move(Text))) {}
TReader::~TReader() = default;

TComponent* TReader::ReadRootComponent(TComponent* Root) {
  return FImpl->Read(Root);
}

TComponent* LoadComponentFromString(const std::string& Text, TComponent* Instance) {
  TReader R(Text);
  return R.ReadRootComponent(Instance);
}

TComponent* LoadComponentFromFile(const std::string& FileName, TComponent* Instance) {
  std::ifstream F(FileName, std::ios::binary);
  if (!F) throw EFOpenError("Cannot open file \"" + FileName + "\"");
  std::stringstream Text;
  Text << F.rdbuf();
  return LoadComponentFromString(Text.str(), Instance);
}

}  // namespace plumb
