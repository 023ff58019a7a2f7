#pragma once
// Published properties and the class registry.
//
// A class publishes its properties in a public static member
//
//   static void DescribeProperties(TPropertyList<TMyComp>& P) {
//     P.IntegerProp("Count", &TMyComp::GetCount, &TMyComp::SetCount).Default(0);
//     P.EnumProp("Shade", &TMyComp::GetShade, &TMyComp::SetShade, ShadeInfo);
//     P.EventProp("OnChange", &TMyComp::OnChange);
//   }
//
// and is registered once, before any stream names it, with RegisterClass<TMyComp>() (or
// PLUMB_REGISTER_CLASS(TMyComp) in a .cpp that the program links anyway). Registering a class
// registers its ancestors, the classes of the objects it owns and, once a collection of them
// exists, collection items. Being a member, DescribeProperties may name protected accessors,
// which is how a descendant publishes what its base keeps protected.
//
// A property is stored when its stored test holds and its value differs from its default (or,
// for an inherited form, from the ancestor's value). Ordinal properties without a default are
// always stored; strings when not empty; references and events when assigned; owned objects
// when they hold anything to store.
#include <any>
#include <concepts>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "Component.h"
#include "Events.h"
#include "Exceptions.h"

namespace plumb {

class TCollection;

enum TPropKind {
  pkInteger,
  pkCardinal,
  pkBoolean,
  pkEnumeration,
  pkSet,
  pkString,
  pkColor,
  pkComponent,   // a reference to another component, stored by name
  pkPersistent,  // an owned object read and written in place (TStrings, TFont, ...)
  pkCollection,  // an owned TCollection, stored as an array of items
  pkEvent        // stored by handler name
};

// The value names of an enumeration, ordinal 0 first. Meant to be constexpr:
//   inline constexpr const char* ShadeNames[] = {"shLight", "shDark"};
//   inline constexpr TEnumInfo ShadeInfo{"TShade", ShadeNames};
struct TEnumInfo {
  const char* Name;
  std::span<const char* const> Names;

  int Count() const { return int(Names.size()); }
  // nullptr for an ordinal without a name.
  const char* NameOf(Int64 Ordinal) const;
  // -1 when no value has that name; letter case is ignored.
  int ValueOf(const std::string& Ident) const;
};

// One published property. Only the accessors that fit the kind are set: ordinal kinds use
// GetOrd/SetOrd, strings and events GetStr (an event's handler name), references and owned
// objects GetObj/SetObj, events SetEvent.
struct TPropInfo {
  std::string Name;
  TPropKind Kind = pkInteger;
  const TEnumInfo* EnumType = nullptr;  // an enumeration, or the element type of a set
  TClass ObjClass = nullptr;            // what a reference or owned object must be
  Int64 MinValue = 0;
  Int64 MaxValue = 0;
  bool HasDefault = false;
  Int64 Default = 0;
  // A string property whose empty text is a value of its own (not the default) is written
  // even when empty, as long as its Stored test holds.
  bool EmptyStored = false;
  const std::type_info* EventSignature = nullptr;

  std::function<Int64(const TObject*)> GetOrd;
  std::function<void(TObject*, Int64)> SetOrd;
  std::function<std::string(const TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<TObject*(const TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  // Handler holds a std::function of the event's signature, or nothing to clear the event.
  std::function<void(TObject*, const std::any& Handler, const std::string& Name)> SetEvent;
  // Returns a closure that puts the current value back (a reader's undo step).
  std::function<std::function<void()>(TObject*)> Snapshot;
  std::function<bool(const TObject*)> StoredTest;

  bool IsOrdinal() const { return Kind <= pkEnumeration || Kind == pkSet || Kind == pkColor; }
  bool IsObject() const { return Kind == pkPersistent || Kind == pkCollection; }
  // Owned objects are filled in place, so they stream without a setter.
  bool IsWritable() const { return SetOrd || SetStr || SetObj || SetEvent || IsObject(); }
  bool IsStored(const TObject* Instance) const { return !StoredTest || StoredTest(Instance); }
};

// A named event handler of a class (a form's method), bound to an instance on demand.
struct TMethodInfo {
  std::string Name;
  const std::type_info* Signature = nullptr;
  // Returns a std::function of Signature that calls the method on Instance.
  std::function<std::any(TObject* Instance)> Bind;
};

using TComponentFactory = TComponent* (*)(TComponent* AOwner);

// ---- Class registry ----------------------------------------------------------------------
// Registered classes, found by name (letter case ignored); nullptr when not registered.
TClass GetClass(const std::string& ClassName);
// As GetClass, but raises EClassNotFound.
TClass FindClass(const std::string& ClassName);
bool IsClassRegistered(TClass Class);
// Every registered class, in no particular order.
std::vector<TClass> GetRegisteredClasses();
// The module (the program or a shared library) whose code registered Class, as the address of
// that module's typeinfo_detail::ModuleTag; nullptr when Class is not registered. A package
// loader takes back the classes of a library before unloading it: their records point into it.
const void* GetClassModule(TClass Class);
// Forgets Class; classes registered through it (its ancestors, its owned objects' classes) stay.
void UnregisterClass(TClass Class);
// Creates a registered component class; raises EClassNotFound when it cannot be created.
TComponent* CreateComponent(TClass Class, TComponent* AOwner);

// Every published property of Class, ancestors' first, in declaration order. A property that
// a descendant declares again keeps its place and takes the descendant's description.
std::vector<const TPropInfo*> GetPropList(TClass Class);
// Letter case is ignored; nullptr when Class publishes no such property.
const TPropInfo* GetPropInfo(TClass Class, const std::string& Name);
// Searches Class and its ancestors; letter case is ignored.
const TMethodInfo* FindMethod(TClass Class, const std::string& Name);

// Colour names ("clBtnFace") come from the graphics layer, which registers its converters at
// start-up; without them colours are stored as numbers.
using TColorToIdentFunc = bool (*)(int32_t Color, std::string& Ident);
using TIdentToColorFunc = bool (*)(const std::string& Ident, int32_t& Color);
void RegisterColorIdents(TColorToIdentFunc ToIdent, TIdentToColorFunc FromIdent);
bool ColorPropToIdent(int32_t Color, std::string& Ident);
bool ColorPropFromIdent(const std::string& Ident, int32_t& Color);

namespace typeinfo_detail {

struct TClassRecord {
  TClass Class = nullptr;
  TComponentFactory Create = nullptr;
  const void* Module = nullptr;
  std::vector<TPropInfo> Props;
  std::vector<TMethodInfo> Methods;
};
// One per module: hidden, so that the program and every shared library hold their own copy.
[[gnu::visibility("hidden")]] inline constexpr char ModuleTag = 0;

// Adds Class (once) for the module whose code calls it; nullptr when it was already registered.
TClassRecord* AddClass(TClass Class, TComponentFactory Create, const void* Module);

template <class V>
concept SetType = requires(V S) {
  { S.Stored() } -> std::integral;
  V::FromStored(typename V::Storage{});
};

template <class V>
Int64 ToOrd(V Value) {
  if constexpr (std::is_enum_v<V>)
    return Int64(static_cast<std::underlying_type_t<V>>(Value));
  else if constexpr (SetType<V>)
    return Int64(Value.Stored());
  else
    return Int64(Value);
}

template <class V>
V FromOrd(Int64 Value) {
  if constexpr (std::is_enum_v<V>)
    return static_cast<V>(static_cast<std::underlying_type_t<V>>(Value));
  else if constexpr (SetType<V>)
    return V::FromStored(typename V::Storage(Value));
  else if constexpr (std::is_same_v<V, bool>)
    return Value != 0;
  else
    return V(Value);
}

template <class T, class G>
using GetResult = std::remove_cvref_t<std::invoke_result_t<G, T*>>;

// Getters may be non-const (a pick list created on first read), so they run on T*.
template <class T, class G>
decltype(auto) Get(G Getter, const TObject* Instance) {
  return std::invoke(Getter, const_cast<T*>(static_cast<const T*>(Instance)));
}

template <class T, class S, class V>
void Put(S Setter, TObject* Instance, V&& Value) {
  T* Self = static_cast<T*>(Instance);
  if constexpr (std::is_member_object_pointer_v<S>)
    Self->*Setter = std::forward<V>(Value);
  else
    std::invoke(Setter, Self, std::forward<V>(Value));
}

}  // namespace typeinfo_detail

template <class T, class F = std::nullptr_t>
void RegisterClass(F Describe = nullptr);

// Refines the property just added.
template <class T>
class TPropHandle {
 public:
  explicit TPropHandle(TPropInfo& Info) : FInfo(Info) {}
  template <class V>
  TPropHandle& Default(V Value) {
    FInfo.HasDefault = true;
    FInfo.Default = typeinfo_detail::ToOrd(Value);
    return *this;
  }
  TPropHandle& NoDefault() {
    FInfo.HasDefault = false;
    return *this;
  }
  TPropHandle& StoredWhenEmpty() {
    FInfo.EmptyStored = true;
    return *this;
  }
  TPropHandle& Stored(bool Value) {
    FInfo.StoredTest = [Value](const TObject*) { return Value; };
    return *this;
  }
  // A member function such as IsReadOnlyStored; like a getter, it may be non-const.
  template <class F>
  requires(!std::is_same_v<F, bool>) TPropHandle& Stored(F Test) {
    FInfo.StoredTest = [Test](const TObject* I) {
      return bool(std::invoke(Test, const_cast<T*>(static_cast<const T*>(I))));
    };
    return *this;
  }
  TPropInfo& Info() { return FInfo; }

 private:
  TPropInfo& FInfo;
};

template <class T>
class TPropertyList {
 public:
  TPropertyList(std::vector<TPropInfo>& Props, std::vector<TMethodInfo>& Methods)
      : FProps(Props), FMethods(Methods) {}

  // Integer-like values (Integer, Word, ...); the range comes from the getter's type.
  template <class G, class S>
  TPropHandle<T> IntegerProp(const std::string& Name, G Getter, S Setter) {
    return Ordinal(Name, pkInteger, Getter, Setter, nullptr);
  }
  template <class G, class S>
  TPropHandle<T> CardinalProp(const std::string& Name, G Getter, S Setter) {
    return Ordinal(Name, pkCardinal, Getter, Setter, nullptr);
  }
  template <class G, class S>
  TPropHandle<T> BooleanProp(const std::string& Name, G Getter, S Setter) {
    return Ordinal(Name, pkBoolean, Getter, Setter, nullptr);
  }
  template <class G, class S>
  TPropHandle<T> EnumProp(const std::string& Name, G Getter, S Setter, const TEnumInfo& Info) {
    TPropHandle<T> H = Ordinal(Name, pkEnumeration, Getter, Setter, &Info);
    H.Info().MinValue = 0;
    H.Info().MaxValue = Info.Count() - 1;
    return H;
  }
  // A TSet of an enumeration whose value names Element gives.
  template <class G, class S>
  TPropHandle<T> SetProp(const std::string& Name, G Getter, S Setter, const TEnumInfo& Element) {
    using V = typeinfo_detail::GetResult<T, G>;
    TPropHandle<T> H = Ordinal(Name, pkSet, Getter, Setter, &Element);
    H.Info().MinValue = 0;
    H.Info().MaxValue = Int64(std::numeric_limits<typename V::Storage>::max());
    return H;
  }
  // A TColor (an int32), stored by colour name where one exists.
  template <class G, class S>
  TPropHandle<T> ColorProp(const std::string& Name, G Getter, S Setter) {
    return Ordinal(Name, pkColor, Getter, Setter, nullptr);
  }

  template <class G, class S>
  TPropHandle<T> StringProp(const std::string& Name, G Getter, S Setter) {
    TPropInfo& P = Add(Name, pkString);
    P.GetStr = [Getter](const TObject* I) {
      return std::string(typeinfo_detail::Get<T>(Getter, I));
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      P.SetStr = [Setter](TObject* I, const std::string& V) {
        typeinfo_detail::Put<T>(Setter, I, V);
      };
      P.Snapshot = [Getter, Setter](TObject* I) -> std::function<void()> {
        std::string Old(typeinfo_detail::Get<T>(Getter, I));
        return [I, Old, Setter] { typeinfo_detail::Put<T>(Setter, I, Old); };
      };
    }
    return TPropHandle<T>(P);
  }

  // A reference to a component that is not owned (a data source, a popup menu).
  template <class G, class S>
  TPropHandle<T> ComponentProp(const std::string& Name, G Getter, S Setter) {
    using R = std::remove_pointer_t<typeinfo_detail::GetResult<T, G>>;
    static_assert(std::is_base_of_v<TComponent, R>, "a reference names a component");
    TPropInfo& P = Add(Name, pkComponent);
    P.ObjClass = R::StaticClass();
    P.GetObj = [Getter](const TObject* I) -> TObject* {
      return typeinfo_detail::Get<T>(Getter, I);
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      P.SetObj = [Setter](TObject* I, TObject* V) {
        typeinfo_detail::Put<T>(Setter, I, CastRef<R>(V));
      };
      P.Snapshot = [Getter, Setter](TObject* I) -> std::function<void()> {
        R* Old = typeinfo_detail::Get<T>(Getter, I);
        return [I, Old, Setter] { typeinfo_detail::Put<T>(Setter, I, Old); };
      };
    }
    return TPropHandle<T>(P);
  }

  // An object the instance owns (TStrings, a font, a collection), filled in place when read.
  // The setter (which copies with Assign) is optional.
  template <class G, class S = std::nullptr_t>
  TPropHandle<T> ObjectProp(const std::string& Name, G Getter, S Setter = nullptr) {
    using R = std::remove_pointer_t<typeinfo_detail::GetResult<T, G>>;
    static_assert(std::is_base_of_v<TPersistent, R>, "an owned object is a TPersistent");
    RegisterClass<R>();  // its own published properties come along
    TPropInfo& P = Add(Name, std::is_base_of_v<TCollection, R> ? pkCollection : pkPersistent);
    P.ObjClass = R::StaticClass();
    P.GetObj = [Getter](const TObject* I) -> TObject* {
      return typeinfo_detail::Get<T>(Getter, I);
    };
    if constexpr (!std::is_null_pointer_v<S>)
      P.SetObj = [Setter](TObject* I, TObject* V) {
        typeinfo_detail::Put<T>(Setter, I, CastRef<R>(V));
      };
    return TPropHandle<T>(P);
  }

  // An event member (TEvent<...> OnX), stored by its handler name.
  template <class Sig, class C>
  TPropHandle<T> EventProp(const std::string& Name, TEvent<Sig> C::*Member) {
    static_assert(std::is_base_of_v<C, T>);
    using Handler = typename TEvent<Sig>::Handler;
    TPropInfo& P = Add(Name, pkEvent);
    P.EventSignature = &typeid(Sig);
    P.GetStr = [Member](const TObject* I) {
      return (static_cast<const T*>(I)->*Member).HandlerName();
    };
    P.SetEvent = [Member](TObject* I, const std::any& Fn, const std::string& HandlerName) {
      TEvent<Sig>& E = static_cast<T*>(I)->*Member;
      if (Fn.has_value())
        E.Assign(std::any_cast<Handler>(Fn), HandlerName);
      else
        E = nullptr;
    };
    P.Snapshot = [Member](TObject* I) -> std::function<void()> {
      TEvent<Sig> Old = static_cast<T*>(I)->*Member;
      return [I, Old, Member] { static_cast<T*>(I)->*Member = Old; };
    };
    return TPropHandle<T>(P);
  }

  // A named handler that streams may bind events to: a method of the root (the form) class.
  template <class C, class R, class... A>
  void Method(const std::string& Name, R (C::*Fn)(A...)) {
    static_assert(std::is_base_of_v<C, T>);
    TMethodInfo M;
    M.Name = Name;
    M.Signature = &typeid(R(A...));
    M.Bind = [Fn](TObject* Instance) -> std::any {
      C* Self = dynamic_cast<C*>(Instance);
      return std::function<R(A...)>(
          [Self, Fn](A... Args) -> R { return (Self->*Fn)(std::forward<A>(Args)...); });
    };
    FMethods.push_back(std::move(M));
  }

 private:
  TPropInfo& Add(const std::string& Name, TPropKind Kind) {
    TPropInfo& P = FProps.emplace_back();
    P.Name = Name;
    P.Kind = Kind;
    return P;
  }

  template <class R>
  static R* CastRef(TObject* V) {
    if (!V) return nullptr;
    R* Result = dynamic_cast<R*>(V);
    if (!Result)
      throw EConvertError("Cannot assign a " + V->ClassName() + " to a " + R::StaticClass()->Name);
    return Result;
  }

  template <class G, class S>
  TPropHandle<T> Ordinal(const std::string& Name, TPropKind Kind, G Getter, S Setter,
                         const TEnumInfo* Info) {
    using V = typeinfo_detail::GetResult<T, G>;
    TPropInfo& P = Add(Name, Kind);
    P.EnumType = Info;
    if constexpr (std::is_integral_v<V>) {
      P.MinValue = Int64(std::numeric_limits<V>::min());
      if constexpr (std::is_unsigned_v<V> && sizeof(V) >= sizeof(Int64))
        P.MaxValue = std::numeric_limits<Int64>::max();
      else
        P.MaxValue = Int64(std::numeric_limits<V>::max());
    }
    P.GetOrd = [Getter](const TObject* I) {
      return typeinfo_detail::ToOrd(V(typeinfo_detail::Get<T>(Getter, I)));
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      P.SetOrd = [Setter](TObject* I, Int64 Value) {
        typeinfo_detail::Put<T>(Setter, I, typeinfo_detail::FromOrd<V>(Value));
      };
      P.Snapshot = [Getter, Setter](TObject* I) -> std::function<void()> {
        V Old = typeinfo_detail::Get<T>(Getter, I);
        return [I, Old, Setter] { typeinfo_detail::Put<T>(Setter, I, Old); };
      };
    }
    return TPropHandle<T>(P);
  }

  std::vector<TPropInfo>& FProps;
  std::vector<TMethodInfo>& FMethods;
};

template <class T>
concept DescribesProperties = requires(TPropertyList<T>& L) {
  T::DescribeProperties(L);
};

// Registers T and its ancestors. Describe, when given, lists T's properties instead of (or
// besides) T::DescribeProperties, for classes that cannot be edited.
template <class T, class F>
void RegisterClass(F Describe) {
  if constexpr (requires { typename T::inherited; }) RegisterClass<typename T::inherited>();
  TComponentFactory Create = nullptr;
  if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TComponent*>)
    Create = [](TComponent* AOwner) -> TComponent* { return new T(AOwner); };
  typeinfo_detail::TClassRecord* R =
      typeinfo_detail::AddClass(T::StaticClass(), Create, &typeinfo_detail::ModuleTag);
  if (!R) return;
  TPropertyList<T> List(R->Props, R->Methods);
  if constexpr (DescribesProperties<T>) T::DescribeProperties(List);
  if constexpr (!std::is_null_pointer_v<F>) Describe(List);
}

#define PLUMB_REGISTER_CLASS(Cls) \
  static const bool PlumbRegistered_##Cls = (::plumb::RegisterClass<Cls>(), true)

}  // namespace plumb
