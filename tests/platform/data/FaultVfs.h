#pragma once
// A SQLite VFS for tests that wraps the default one and, on request, makes the file system
// fail beneath SQLite: every write refused (disk full, read-only file) or every sync failing
// (an I/O error), or a hook called at each sync (a crash test stops the process there).
// While it lives it is the default VFS, so every connection opened meanwhile goes through it.
#include <sqlite3.h>

#include <cstring>
#include <functional>

namespace plumb::test {

enum TFsFault { fsNone, fsDiskFull, fsReadOnly, fsIoError };

class TFaultVfs {
 public:
  TFaultVfs() {
    FBase = sqlite3_vfs_find(nullptr);
    FVfs = *FBase;
    FVfs.zName = "plumb-fault";
    FVfs.szOsFile = int(sizeof(TFile)) + FBase->szOsFile;
    FVfs.pAppData = this;
    FVfs.xOpen = &Open;
    FVfs.pNext = nullptr;
    sqlite3_vfs_register(&FVfs, 1);
  }
  ~TFaultVfs() {
    sqlite3_vfs_unregister(&FVfs);
    sqlite3_vfs_register(FBase, 1);
  }
  TFaultVfs(const TFaultVfs&) = delete;
  TFaultVfs& operator=(const TFaultVfs&) = delete;

  void Arm(TFsFault Fault) { FFault = Fault; }
  // Called before each sync with the file's name (database, journal or WAL).
  std::function<void(const char* Path)> OnSync;

 private:
  struct TFile {
    sqlite3_file Base;
    TFaultVfs* Vfs;
    const char* Path;
    sqlite3_file* Real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
  };
  static TFile* Of(sqlite3_file* F) { return reinterpret_cast<TFile*>(F); }
  static const sqlite3_io_methods* RealMethods(sqlite3_file* F) { return Of(F)->Real()->pMethods; }

  static int Open(sqlite3_vfs* V, const char* Name, sqlite3_file* F, int Flags, int* OutFlags) {
    auto* Me = static_cast<TFaultVfs*>(V->pAppData);
    TFile* File = Of(F);
    std::memset(File, 0, sizeof(TFile));
    File->Vfs = Me;
    File->Path = Name;
    int Rc = Me->FBase->xOpen(Me->FBase, Name, File->Real(), Flags, OutFlags);
    File->Base.pMethods = File->Real()->pMethods ? &Methods : nullptr;
    return Rc;
  }
  static int Close(sqlite3_file* F) { return RealMethods(F)->xClose(Of(F)->Real()); }
  static int Read(sqlite3_file* F, void* B, int N, sqlite3_int64 Ofs) {
    return RealMethods(F)->xRead(Of(F)->Real(), B, N, Ofs);
  }
  static int Write(sqlite3_file* F, const void* B, int N, sqlite3_int64 Ofs) {
    switch (Of(F)->Vfs->FFault) {
      case fsDiskFull:
        return SQLITE_FULL;
      case fsReadOnly:
        return SQLITE_READONLY;
      default:
        return RealMethods(F)->xWrite(Of(F)->Real(), B, N, Ofs);
    }
  }
  static int Truncate(sqlite3_file* F, sqlite3_int64 Size) {
    return RealMethods(F)->xTruncate(Of(F)->Real(), Size);
  }
  static int Sync(sqlite3_file* F, int Flags) {
    TFaultVfs* Me = Of(F)->Vfs;
    if (Me->OnSync) Me->OnSync(Of(F)->Path ? Of(F)->Path : "");
    if (Me->FFault == fsIoError) return SQLITE_IOERR_FSYNC;
    return RealMethods(F)->xSync(Of(F)->Real(), Flags);
  }
  static int FileSize(sqlite3_file* F, sqlite3_int64* Size) {
    return RealMethods(F)->xFileSize(Of(F)->Real(), Size);
  }
  static int Lock(sqlite3_file* F, int L) { return RealMethods(F)->xLock(Of(F)->Real(), L); }
  static int Unlock(sqlite3_file* F, int L) { return RealMethods(F)->xUnlock(Of(F)->Real(), L); }
  static int CheckReservedLock(sqlite3_file* F, int* Out) {
    return RealMethods(F)->xCheckReservedLock(Of(F)->Real(), Out);
  }
  static int FileControl(sqlite3_file* F, int Op, void* Arg) {
    return RealMethods(F)->xFileControl(Of(F)->Real(), Op, Arg);
  }
  static int SectorSize(sqlite3_file* F) { return RealMethods(F)->xSectorSize(Of(F)->Real()); }
  static int DeviceCharacteristics(sqlite3_file* F) {
    return RealMethods(F)->xDeviceCharacteristics(Of(F)->Real());
  }
  static int ShmMap(sqlite3_file* F, int Pg, int Sz, int Extend, void volatile** Out) {
    return RealMethods(F)->xShmMap(Of(F)->Real(), Pg, Sz, Extend, Out);
  }
  static int ShmLock(sqlite3_file* F, int Ofs, int N, int Flags) {
    return RealMethods(F)->xShmLock(Of(F)->Real(), Ofs, N, Flags);
  }
  static void ShmBarrier(sqlite3_file* F) { RealMethods(F)->xShmBarrier(Of(F)->Real()); }
  static int ShmUnmap(sqlite3_file* F, int Delete) {
    return RealMethods(F)->xShmUnmap(Of(F)->Real(), Delete);
  }
  // Memory-mapped reads would bypass Read; the wrapped files are read through calls only.
  static int Fetch(sqlite3_file*, sqlite3_int64, int, void** Out) {
    *Out = nullptr;
    return SQLITE_OK;
  }
  static int Unfetch(sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; }

  static constexpr sqlite3_io_methods Methods = {3,
                                                 &Close,
                                                 &Read,
                                                 &Write,
                                                 &Truncate,
                                                 &Sync,
                                                 &FileSize,
                                                 &Lock,
                                                 &Unlock,
                                                 &CheckReservedLock,
                                                 &FileControl,
                                                 &SectorSize,
                                                 &DeviceCharacteristics,
                                                 &ShmMap,
                                                 &ShmLock,
                                                 &ShmBarrier,
                                                 &ShmUnmap,
                                                 &Fetch,
                                                 &Unfetch};

  sqlite3_vfs* FBase;
  sqlite3_vfs FVfs;
  TFsFault FFault = fsNone;
};

}  // namespace plumb::test
