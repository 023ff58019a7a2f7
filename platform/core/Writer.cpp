// TWriter: a component tree to a JSON form document.
//
//   WriteRootComponent / WriteDescendent -> Write
//     Component   class, name, "properties", then the named owned components
//     Properties  each published property (Property), then DefineProperties
//     Property    stored test, then the value unless it equals the default or the ancestor's:
//                 Ordinal (numbers, names, sets, colours), Reference (by name path),
//                 Object (string lists, collections, nested objects)
//   Write*/WriteList*  the value of a defined property, through Append
#include <fstream>

#include "Exceptions.h"
#include "FilerImpl.h"

namespace plumb {

namespace {

constexpr int MaxDepth = 64;

void AppendText(std::string& Out, const TJson& V, int Depth) {
  constexpr size_t Limit = 80;
  auto Scalar = [](const TJson& S) {
    return S.dump(-1, ' ', false, TJson::error_handler_t::replace);
  };
  if (!V.is_structured()) {
    Out += Scalar(V);
    return;
  }
  bool IsObject = V.is_object();
  if (Depth >= 3) {
    Out += IsObject ? "{...}" : "[...]";
    return;
  }
  Out += IsObject ? "{" : "[";
  bool First = true;
  for (auto It = V.begin(); It != V.end(); ++It) {
    if (Out.size() > Limit) {
      Out += ",...";
      break;
    }
    if (!First) Out += ",";
    First = false;
    if (IsObject) Out += Scalar(TJson(It.key())) + ":";
    AppendText(Out, It.value(), Depth + 1);
  }
  Out += IsObject ? "}" : "]";
}

// A reference is written as the path of names from the root down; a component outside the
// root's tree by its path from the top of its own tree. "" for an unnamed component.
std::string RefPath(const TComponent* C, const TComponent* Root) {
  if (!C || C->GetName().empty()) return "";
  if (C == Root) return C->GetName();
  std::string Path = C->GetName();
  for (const TComponent* O = C->Owner(); O && O != Root; O = O->Owner()) {
    if (O->GetName().empty()) return "";
    Path = O->GetName() + "." + Path;
  }
  return Path;
}

}  // namespace

std::string JsonValueText(const TJson& Value) {
  std::string Out;
  AppendText(Out, Value, 0);
  if (Out.size() > 100) {
    size_t Cut = 96;
    while (Cut > 0 && (static_cast<unsigned char>(Out[Cut]) & 0xC0) == 0x80) --Cut;
    Out = Out.substr(0, Cut) + "...";
  }
  return Out;
}

// ---- Components and properties ------------------------------------------------------------

std::string TWriter::TImpl::Write(TComponent* Root, TComponent* Ancestor) {
  Self->FRoot = Root;
  AncestorRoot = Ancestor;
  Path = Root->GetName().empty() ? Root->ClassName() : Root->GetName();
  TJson Doc = Component(Root, Ancestor, true);
  try {
    return Doc.dump(2);
  } catch (const TJson::exception& E) {
    throw EWriteError("Error writing " + Path + ": " + E.what());
  }
}

TJson TWriter::TImpl::Component(TComponent* C, TComponent* Ancestor, bool IsRoot) {
  TJson J = TJson::object();
  J["class"] = C->ClassName();
  J["name"] = C->GetName();
  if (Ancestor && !IsRoot) J["inherited"] = true;
  TJson Props = Properties(C, Ancestor);
  TJson Kids = TJson::array();
  std::string OwnPath = Path;
  for (int I = 0; I < C->GetComponentCount(); ++I) {
    TComponent* K = C->GetComponents(I);
    if (K->GetName().empty()) continue;
    TComponent* AK = Ancestor ? Ancestor->FindComponent(K->GetName()) : nullptr;
    Path = OwnPath + "." + K->GetName();
    TJson KJ = Component(K, AK, false);
    if (!KJ.is_null()) Kids.push_back(std::move(KJ));
  }
  Path = OwnPath;
  // An inherited component that nothing changed is left to the ancestor.
  if (Ancestor && !IsRoot && Props.empty() && Kids.empty()) return nullptr;
  if (!Props.empty()) J["properties"] = std::move(Props);
  if (!Kids.empty()) J["components"] = std::move(Kids);
  return J;
}

TJson TWriter::TImpl::Properties(TPersistent* Instance, TPersistent* Ancestor) {
  if (++Depth > MaxDepth) Fail("", "objects nest too deeply");
  TJson Out = TJson::object();
  for (const TPropInfo* P : GetPropList(Instance->ClassType()))
    Property(Instance, *P, Ancestor, Out);
  TJson* SavedProps = Props;
  TPersistent* SavedAncestor = Self->FAncestor;
  Props = &Out;
  Self->FAncestor = Ancestor;
  Instance->DefineProperties(Self);
  Props = SavedProps;
  Self->FAncestor = SavedAncestor;
  --Depth;
  return Out;
}

void TWriter::TImpl::Property(TPersistent* Instance, const TPropInfo& P, TPersistent* Ancestor,
                              TJson& Out) {
  if (!P.IsWritable() || !P.IsStored(Instance)) return;
  const TPropInfo* AP = Ancestor ? GetPropInfo(Ancestor->ClassType(), P.Name) : nullptr;
  if (AP && AP->Kind != P.Kind) AP = nullptr;
  if (P.IsOrdinal()) return Ordinal(Instance, P, Ancestor, AP, Out);
  if (P.Kind == pkComponent) return Reference(Instance, P, Ancestor, AP, Out);
  if (P.IsObject()) return Object(Instance, P, Ancestor, AP, Out);
  // Strings and events (by handler name).
  std::string V = P.GetStr(Instance);
  if (AP ? V == AP->GetStr(Ancestor) : V.empty() && !P.EmptyStored) return;
  if (P.Kind == pkEvent && V.empty())
    Out[P.Name] = nullptr;
  else
    Out[P.Name] = V;
}

void TWriter::TImpl::Ordinal(TPersistent* Instance, const TPropInfo& P, TPersistent* Ancestor,
                             const TPropInfo* AP, TJson& Out) {
  Int64 V = P.GetOrd(Instance);
  if (AP ? V == AP->GetOrd(Ancestor) : P.HasDefault && V == P.Default) return;
  Out[P.Name] = OrdinalValue(P, V);
}

TJson TWriter::TImpl::OrdinalValue(const TPropInfo& P, Int64 V) {
  switch (P.Kind) {
    case pkBoolean:
      return V != 0;
    case pkEnumeration:
      if (const char* Name = P.EnumType->NameOf(V)) return Name;
      Fail(P.Name, std::to_string(V) + " is not a value of " + P.EnumType->Name);
    case pkSet: {
      TJson Names = TJson::array();
      for (int Bit = 0; Bit < 64; ++Bit) {
        if (!(uint64_t(V) & (uint64_t(1) << Bit))) continue;
        const char* Name = P.EnumType->NameOf(Bit);
        if (!Name) Fail(P.Name, "element " + std::to_string(Bit) + " has no name");
        Names.push_back(Name);
      }
      return Names;
    }
    case pkColor: {
      std::string Ident;
      if (ColorPropToIdent(int32_t(V), Ident)) return Ident;
      return V;
    }
    default:
      return V;
  }
}

void TWriter::TImpl::Reference(TPersistent* Instance, const TPropInfo& P, TPersistent* Ancestor,
                               const TPropInfo* AP, TJson& Out) {
  auto* C = dynamic_cast<TComponent*>(P.GetObj(Instance));
  std::string Name = RefPath(C, Self->FRoot);
  if (C && Name.empty()) return;  // an unnamed component cannot be found again
  if (AP) {
    auto* AC = dynamic_cast<TComponent*>(AP->GetObj(Ancestor));
    if (Name == RefPath(AC, AncestorRoot)) return;
  } else if (!C) {
    return;
  }
  Out[P.Name] = C ? TJson(Name) : TJson(nullptr);
}

void TWriter::TImpl::Object(TPersistent* Instance, const TPropInfo& P, TPersistent* Ancestor,
                            const TPropInfo* AP, TJson& Out) {
  TObject* Sub = P.GetObj(Instance);
  if (!Sub) return;
  TObject* AncSub = AP ? AP->GetObj(Ancestor) : nullptr;
  if (auto* C = dynamic_cast<TCollection*>(Sub)) {
    TJson J = Collection(C);
    auto* AC = dynamic_cast<TCollection*>(AncSub);
    if (AC ? J == AncestorCollection(AC) : C->Count() == 0) return;
    Out[P.Name] = std::move(J);
    return;
  }
  if (auto* S = dynamic_cast<TStrings*>(Sub)) {
    auto* AS = dynamic_cast<TStrings*>(AncSub);
    if (AS ? S->Equals(AS) : S->Count() == 0) return;
    Out[P.Name] = S->ToVector();
    return;
  }
  std::string OwnPath = Path;
  Path += "." + P.Name;
  TJson J = Properties(static_cast<TPersistent*>(Sub), dynamic_cast<TPersistent*>(AncSub));
  Path = OwnPath;
  if (!J.empty()) Out[P.Name] = std::move(J);
}

// The ancestor's items as they would be written from the ancestor form, for comparison.
TJson TWriter::TImpl::AncestorCollection(TCollection* C) {
  TComponent* OwnRoot = Self->FRoot;
  Self->FRoot = AncestorRoot;
  TJson J;
  try {
    J = Collection(C);
  } catch (...) {
    Self->FRoot = OwnRoot;
    throw;
  }
  Self->FRoot = OwnRoot;
  return J;
}

// Items are written whole: a changed collection replaces the ancestor's.
TJson TWriter::TImpl::Collection(TCollection* C) {
  TJson Items = TJson::array();
  std::string OwnPath = Path;
  for (int I = 0; I < C->Count(); ++I) {
    Path = OwnPath + "[" + std::to_string(I) + "]";
    Items.push_back(Properties(C->GetItem(I), nullptr));
  }
  Path = OwnPath;
  return Items;
}

void TWriter::TImpl::Fail(const std::string& Prop, const std::string& Why) const {
  throw EWriteError("Error writing " + Path + (Prop.empty() ? "" : "." + Prop) + ": " + Why);
}

// ---- Defined properties -------------------------------------------------------------------

void TWriter::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                             bool HasData) {
  (void)ReadData;
  TImpl& I = *FImpl;
  if (!HasData || !WriteData || !I.Props) return;
  if (I.InDefined) I.Fail(Name, "a defined property cannot define another");
  I.InDefined = true;
  I.Values.clear();
  I.Lists.clear();
  try {
    WriteData(this);
  } catch (...) {
    I.InDefined = false;
    throw;
  }
  I.InDefined = false;
  if (!I.Lists.empty()) I.Fail(Name, "a list was left open");
  if (I.Values.size() != 1)
    I.Fail(Name, "wrote " + std::to_string(I.Values.size()) + " values instead of one");
  (*I.Props)[Name] = std::move(I.Values.front());
}

TJson TWriter::TImpl::Capture(TComponent* Root, const TWriterProc& WriteData) {
  TWriter W;
  TImpl& I = *W.FImpl;
  TJson Out = TJson::object();
  W.FRoot = Root;
  I.Props = &Out;
  W.DefineProperty("Value", nullptr, WriteData, true);
  return Out["Value"];
}

void TWriter::TImpl::Append(TJson Value) {
  if (!InDefined) throw EWriteError("Values are written only by a defined property");
  if (Lists.empty())
    Values.push_back(std::move(Value));
  else
    Lists.back()->push_back(std::move(Value));
}

void TWriter::WriteListBegin() {
  FImpl->Append(TJson::array());
  TJson& Last = FImpl->Lists.empty() ? FImpl->Values.back() : FImpl->Lists.back()->back();
  FImpl->Lists.push_back(&Last);
}

void TWriter::WriteListEnd() {
  if (FImpl->Lists.empty()) throw EWriteError("WriteListEnd without WriteListBegin");
  FImpl->Lists.pop_back();
}

void TWriter::WriteInteger(Int64 Value) {
  FImpl->Append(Value);
}
void TWriter::WriteBoolean(bool Value) {
  FImpl->Append(Value);
}
void TWriter::WriteFloat(double Value) {
  FImpl->Append(Value);
}
void TWriter::WriteString(const std::string& Value) {
  FImpl->Append(Value);
}

// ---- Entry points -------------------------------------------------------------------------

TWriter::TWriter() : FImpl(std::make_unique<TImpl>(this)) {}
TWriter::~TWriter() = default;

std::string TWriter::WriteRootComponent(TComponent* Root) {
  return FImpl->Write(Root, nullptr);
}

std::string TWriter::WriteDescendent(TComponent* Root, TComponent* Ancestor) {
  return FImpl->Write(Root, Ancestor);
}

std::string SaveComponentToString(TComponent* Instance, TComponent* Ancestor) {
  TWriter W;
  return Ancestor ? W.WriteDescendent(Instance, Ancestor) : W.WriteRootComponent(Instance);
}

void SaveComponentToFile(const std::string& FileName, TComponent* Instance, TComponent* Ancestor) {
  std::string Text = SaveComponentToString(Instance, Ancestor);
  std::ofstream F(FileName, std::ios::binary | std::ios::trunc);
  if (!F) throw EFOpenError("Cannot create file \"" + FileName + "\"");
  F << Text << '\n';
  F.close();
  if (!F) throw EWriteError("Error writing file \"" + FileName + "\"");
}

}  // namespace plumb
