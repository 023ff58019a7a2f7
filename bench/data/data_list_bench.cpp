// The lookup list on a SQLite table of 1,000,000 rows, dropped down under an edit as the record
// grid's editor does it:
//   Open         SetListSource, SetKeyValue of a key in the middle, the list shown and painted
//                (target: well under two full paints of a 1280 x 800 grid, about 1 ms)
//   PageDown     Page Down past the window's edge: the rows that come into view read, painted
//   TypeNoMatch  a letter no row begins with: the table searched through, the worst case
#include <benchmark/benchmark.h>

#include "BenchTable.h"
#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "data/DB.h"
#include "data/DataList.h"

using namespace plumb;
using namespace plumb::bench;

namespace {

// Counts what a host's link on the list data set hears.
class TCountingLink : public TDataLink {
 public:
  Integer Scrolls = 0;

 protected:
  void DataSetScrolled(Integer) override { ++Scrolls; }
};

struct TListBench {
  THeadlessDesktop D{800, 600};
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  TSQLiteDataSet* Customers = nullptr;
  TDataSource* Source = nullptr;
  TPopupDataList* List = nullptr;
  TCountingLink Host;

  TListBench() {
    Form = new TForm(nullptr);
    Form->SetBounds(50, 40, 400, 300);
    Form->Show();
    Edit = new TEdit(Form);
    Edit->SetBounds(20, 20, 200, 21);
    Edit->SetParent(Form);
    Customers = new TSQLiteDataSet(Form);
    Customers->SetDatabaseName(Table());
    Customers->SetTableName("customers");
    Customers->Open();
    Source = new TDataSource(Form);
    Source->SetDataSet(Customers);
    auto* HostSource = new TDataSource(Form);
    HostSource->SetDataSet(Customers);
    Host.SetDataSource(HostSource);
    List = new TPopupDataList(Form);
    List->SetVisible(false);
    List->SetParent(Edit);
    List->SetWidth(Edit->GetWidth());
    List->SetRowCount(8);
    List->SetKeyFieldName("id");
    List->SetListFieldName("name");
    D.RunUntilIdle();
  }
  ~TListBench() { delete Form; }
  void Open(const Variant& Key) {
    List->SetListSource(Source);
    List->SetKeyValue(Key);
    TPoint P = Form->ClientToScreen(TPoint{Edit->GetLeft(), Edit->GetTop() + Edit->GetHeight()});
    SetWindowPos(List->GetHandle(), HWND_TOP, P.X, P.Y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    List->Update();
  }
  void Close() {
    SetWindowPos(List->GetHandle(), 0, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    List->SetListSource(nullptr);
    D.RunUntilIdle();
  }
  void Key(Word K) {
    SendMessage(List->GetHandle(), WM_KEYDOWN, K, 0);
    List->Update();
  }
};

void BM_PopupDataListOpen(benchmark::State& State) {
  TListBench B;
  int N = 0;
  for (auto _ : State) {
    B.Open(Variant(Int64(TableRows / 2 + N++ % 1000)));  // another key each time
    State.PauseTiming();
    if (B.List->GetKeyValue().IsNull()) State.SkipWithError("the key was not selected");
    B.Close();
    State.ResumeTiming();
  }
  State.counters["scrolls_per_open"] =
      benchmark::Counter(double(B.Host.Scrolls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PopupDataListOpen)->Unit(benchmark::kMicrosecond);

void BM_PopupDataListPageDown(benchmark::State& State) {
  TListBench B;
  B.Open(Variant(Int64(TableRows / 2)));
  for (auto _ : State) B.Key(VK_NEXT);
  if (B.List->GetKeyValue().IsNull()) State.SkipWithError("nothing selected");
}
BENCHMARK(BM_PopupDataListPageDown)->Unit(benchmark::kMicrosecond);

void BM_PopupDataListTypeNoMatch(benchmark::State& State) {
  TListBench B;
  B.Open(Variant(Int64(TableRows / 2)));
  for (auto _ : State) SendMessage(B.List->GetHandle(), WM_CHAR, 'x', 0);
  if (B.List->GetKeyValue() != Variant(Int64(TableRows / 2))) State.SkipWithError("moved");
}
BENCHMARK(BM_PopupDataListTypeNoMatch)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
