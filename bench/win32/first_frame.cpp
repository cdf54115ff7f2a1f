// Start-up of two Windows programs, measured from here: each is started in turn, alternately,
// `runs` times; a start lasts from CreateProcess until the program's thread first waits for
// input with nothing left to paint (WaitForInputIdle), and its peak working set is read then.
// Prints the medians and the ratios of the first program to the second.
//   first_frame <runs> <program> <program for scale>
#include <windows.h>
// After windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Start {
  double milliseconds;
  double mebibytes;
};

BOOL CALLBACK closeWindowOf(HWND hwnd, LPARAM pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == static_cast<DWORD>(pid)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

bool start(const std::wstring& program, Start& out) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION p{};
  LARGE_INTEGER frequency, t0, t1;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&t0);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &p)) {
    return false;
  }
  const DWORD idle = WaitForInputIdle(p.hProcess, 30000);
  QueryPerformanceCounter(&t1);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  const bool measured = idle == 0 && GetProcessMemoryInfo(p.hProcess, &memory, sizeof memory);
  EnumWindows(closeWindowOf, static_cast<LPARAM>(p.dwProcessId));
  if (WaitForSingleObject(p.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(p.hProcess, 1);
  CloseHandle(p.hProcess);
  CloseHandle(p.hThread);
  out = {1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
             static_cast<double>(frequency.QuadPart),
         static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0)};
  return measured;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string name(const std::wstring& path) {
  const std::wstring base = path.substr(path.find_last_of(L"\\/") + 1);
  return {base.begin(), base.end()};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: first_frame <runs> <program> <program for scale>\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  const std::wstring programs[2] = {argv[2], argv[3]};
  std::vector<double> time[2], memory[2];
  Start s{};
  for (const auto& program : programs) start(program, s);  // warms the caches
  for (int i = 0; i < runs; ++i) {
    for (int p = 0; p < 2; ++p) {
      if (!start(programs[p], s)) {
        std::fprintf(stderr, "%s did not start and settle\n", name(programs[p]).c_str());
        return 1;
      }
      time[p].push_back(s.milliseconds);
      memory[p].push_back(s.mebibytes);
    }
  }
  const double t0 = median(time[0]), t1 = median(time[1]);
  const double m0 = median(memory[0]), m1 = median(memory[1]);
  // Each pair ran back to back, so its ratio carries less of the machine's drift than the ratio
  // of the medians does.
  std::vector<double> paired;
  for (std::size_t i = 0; i < time[0].size(); ++i) paired.push_back(time[0][i] / time[1][i]);
  std::printf("%d alternate starts each, medians\n", runs);
  std::printf(
      "first frame: %s %.1f ms, %s %.1f ms, ratio %.2f, median ratio of a pair %.2f (limit 2.5)\n",
      name(programs[0]).c_str(), t0, name(programs[1]).c_str(), t1, t0 / t1, median(paired));
  std::printf("peak memory: %s %.1f MiB, %s %.1f MiB, ratio %.2f (limit 1.4)\n",
              name(programs[0]).c_str(), m0, name(programs[1]).c_str(), m1, m0 / m1);
  return 0;
}
