// Benchmarks of the dialog framework's hot paths: sending to a window object, posting and
// pumping, looking up a registered message, and a person typing into an edit of a dialog.
#include <benchmark/benchmark.h>

#include "ui/Controls.h"
#include "ui/Input.h"

namespace {

class Counter : public ui::CWnd {
public:
    long count = 0;

protected:
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override {
        if (message == ui::WM_USER) return ++count;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

void BM_SendToWindowObject(benchmark::State& state) {
    Counter window;
    window.CreateEx(0, L"Bench", L"", ui::WS_POPUP, ui::RECT{0, 0, 10, 10}, nullptr, 0);
    for (auto _ : state) benchmark::DoNotOptimize(window.SendMessage(ui::WM_USER));
}
BENCHMARK(BM_SendToWindowObject);

void BM_PostThenPump(benchmark::State& state) {
    Counter window;
    window.CreateEx(0, L"Bench", L"", ui::WS_POPUP, ui::RECT{0, 0, 10, 10}, nullptr, 0);
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) window.PostMessage(ui::WM_USER);
        benchmark::DoNotOptimize(ui::PumpMessages());
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_PostThenPump);

void BM_RegisteredMessageLookup(benchmark::State& state) {
    ui::RegisterWindowMessage(L"AMBREL_BENCH_ADJUSTMENT_PROP_REFRESH_EDIT");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ui::RegisterWindowMessage(L"AMBREL_BENCH_ADJUSTMENT_PROP_REFRESH_EDIT"));
}
BENCHMARK(BM_RegisteredMessageLookup);

void BM_TypeIntoDialogEdit(benchmark::State& state) {
    ui::DialogTemplate t;
    t.id = 64000;
    t.cx = 100;
    t.cy = 40;
    t.style = ui::WS_POPUP | ui::WS_VISIBLE;
    ui::DialogItemTemplate edit;
    edit.className = ui::WC_EDIT;
    edit.id = 1;
    edit.cx = 60;
    edit.cy = 12;
    edit.style = ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP | ui::ES_NUMBER;
    t.items.push_back(edit);
    ui::RegisterDialogTemplate(t);
    ui::CDialog dialog;
    dialog.Create(t.id);
    const ui::HWND target = ui::GetDlgItem(dialog.m_hWnd, 1);
    for (auto _ : state) ui::input::TypeText(target, L"123456");
}
BENCHMARK(BM_TypeIntoDialogEdit);

}  // namespace
