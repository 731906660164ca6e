/* A stand-in for Turbo HAMLOG: a top-level window of class "TThwin" that appends every
 * WM_COPYDATA it gets to a file as "record <identifier hex> <bytes hex>" and answers as the
 * logging program does: its own window handle for 0x3000F; for 0x73 it first sends the reply
 * text back to the sender as a WM_COPYDATA and then returns 1. With --refuse it returns 0 to
 * everything. The file's first line is "ready" once the window exists.
 *
 *   hamlog-standin.exe FILE [--refuse] [--reply TEXT]
 */
#include <stdio.h>
#include <string.h>
#include <windows.h>

static FILE* records;
static int refuse;
static const char* replyText = "Q1ABC x y 579";

static void Record(const COPYDATASTRUCT* record) {
  const unsigned char* bytes = record->lpData;
  fprintf(records, "record %lx ", (unsigned long)record->dwData);
  for (DWORD i = 0; bytes != NULL && i < record->cbData; ++i) fprintf(records, "%02x", bytes[i]);
  fprintf(records, "\n");
  fflush(records);
}

static LRESULT Answer(HWND window, HWND sender, const COPYDATASTRUCT* record) {
  Record(record);
  if (refuse) return 0;
  if (record->dwData != 0x73) return (LRESULT)window;
  COPYDATASTRUCT reply = {0x73, (DWORD)strlen(replyText) + 1, (void*)replyText};
  SendMessageA(sender, WM_COPYDATA, (WPARAM)window, (LPARAM)&reply);
  return 1;
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) return Answer(window, (HWND)wParam, (const COPYDATASTRUCT*)lParam);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  for (int i = 2; i < argc; ++i) {
    if (strcmp(argv[i], "--refuse") == 0) refuse = 1;
    if (strcmp(argv[i], "--reply") == 0 && i + 1 < argc) replyText = argv[++i];
  }
  records = fopen(argv[1], "wb");
  if (records == NULL) return 1;
  WNDCLASSA windowClass = {0};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(NULL);
  windowClass.lpszClassName = "TThwin";
  if (!RegisterClassA(&windowClass)) return 1;
  if (CreateWindowA("TThwin", "HAMLOG stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL,
                    windowClass.hInstance, NULL) == NULL) {
    return 1;
  }
  fprintf(records, "ready\n");
  fflush(records);
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
