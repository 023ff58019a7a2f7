#pragma once
// TSet<E>: a set of enumeration values, bit n standing for ordinal n. Storage is the integer
// type that a stream holds it as (TGridOptions fits 16 bits).
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace plumb {

template <class E, class TStorage = uint32_t>
class TSet {
 public:
  using Storage = TStorage;
  static constexpr int Capacity = int(sizeof(TStorage) * 8);

  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Items) {
    for (E Item : Items) Include(Item);
  }
  static constexpr TSet FromStored(TStorage Value) {
    TSet S;
    S.FBits = Value;
    return S;
  }
  constexpr TStorage Stored() const { return FBits; }

  constexpr bool Contains(E Item) const {
    int N = Ordinal(Item);
    return N >= 0 && N < Capacity && (FBits & Bit(N)) != 0;
  }
  constexpr TSet& Include(E Item) {
    int N = Ordinal(Item);
    if (N >= 0 && N < Capacity) FBits = TStorage(FBits | Bit(N));
    return *this;
  }
  constexpr TSet& Exclude(E Item) {
    int N = Ordinal(Item);
    if (N >= 0 && N < Capacity) FBits = TStorage(FBits & ~Bit(N));
    return *this;
  }
  constexpr bool Empty() const { return FBits == 0; }

  friend constexpr TSet operator+(TSet A, TSet B) { return FromStored(TStorage(A.FBits | B.FBits)); }
  friend constexpr TSet operator-(TSet A, TSet B) { return FromStored(TStorage(A.FBits & ~B.FBits)); }
  friend constexpr TSet operator*(TSet A, TSet B) { return FromStored(TStorage(A.FBits & B.FBits)); }
  friend constexpr TSet operator+(TSet A, E B) { return A.Include(B); }
  friend constexpr TSet operator-(TSet A, E B) { return A.Exclude(B); }
  friend constexpr bool operator==(TSet A, TSet B) { return A.FBits == B.FBits; }
  // Subset test, as "A <= B" reads for sets.
  friend constexpr bool operator<=(TSet A, TSet B) { return (A.FBits & ~B.FBits) == 0; }
  friend constexpr bool operator>=(TSet A, TSet B) { return B <= A; }

 private:
  static constexpr int Ordinal(E Item) { return int(static_cast<std::underlying_type_t<E>>(Item)); }
  static constexpr TStorage Bit(int N) { return TStorage(TStorage(1) << N); }
  TStorage FBits = 0;
};

}  // namespace plumb
