/* Vantrel's relay to Turbo HAMLOG inside a Wine prefix.
 *
 * Vantrel runs it as `wine vantrel-hamlog-relay.exe` and talks to it over standard input and
 * output, one line per message, bytes as lower-case hex:
 *
 *   in:  find           whether there is a window of class "TThwin": "result 1" or "notfound"
 *        send <hex>     WM_COPYDATA 0x3000F with these bytes to the window of class "TThwin"
 *        request        WM_COPYDATA 0x73 without data to that window
 *   out: ready          once the relay's own window exists
 *        result <n>     what the logging program returned (decimal; 0 is a refusal)
 *        notfound       no window of class "TThwin"
 *        reply <hex>    the bytes of a WM_COPYDATA the logging program sent to the relay
 *
 * One thread reads the input and posts each line to the window's thread, which sends the
 * records and so also takes the replies that arrive while a send is still under way. The end
 * of the input ends the relay.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#define LINE_LIMIT 4096
#define WM_RELAY_LINE (WM_APP + 1)

static const ULONG_PTR kCopyDataSendId = 0x3000F;
static const ULONG_PTR kCopyDataRequestId = 0x73;

static HANDLE output;

static void WriteLine(const char* text) {
  DWORD written;
  size_t length = strlen(text);
  char* line = malloc(length + 1);
  if (line == NULL) return;
  memcpy(line, text, length);
  line[length] = '\n';
  WriteFile(output, line, (DWORD)(length + 1), &written, NULL);
  free(line);
}

static int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/* The bytes of `hex` into `bytes`; -1 when it is not whole pairs of hex digits. */
static int FromHex(const char* hex, char* bytes) {
  int count = 0;
  while (hex[0] != '\0') {
    int high = HexValue(hex[0]);
    int low = high < 0 ? -1 : HexValue(hex[1]);
    if (low < 0) return -1;
    bytes[count++] = (char)(high * 16 + low);
    hex += 2;
  }
  return count;
}

static void WriteReply(const COPYDATASTRUCT* record) {
  static const char kDigits[] = "0123456789abcdef";
  const unsigned char* bytes = record->lpData;
  DWORD count = bytes == NULL ? 0 : record->cbData;
  char* line = malloc(6 + 2 * (size_t)count + 1);
  if (line == NULL) return;
  memcpy(line, "reply ", 6);
  for (DWORD i = 0; i < count; ++i) {
    line[6 + 2 * i] = kDigits[bytes[i] >> 4];
    line[6 + 2 * i + 1] = kDigits[bytes[i] & 15];
  }
  line[6 + 2 * count] = '\0';
  WriteLine(line);
  free(line);
}

static void SendRecord(HWND relay, ULONG_PTR identifier, char* bytes, int count) {
  HWND logProgram = FindWindowA("TThwin", NULL);
  if (logProgram == NULL) {
    WriteLine("notfound");
    return;
  }
  COPYDATASTRUCT record = {identifier, (DWORD)count, count == 0 ? NULL : bytes};
  LRESULT result = SendMessageA(logProgram, WM_COPYDATA, (WPARAM)relay, (LPARAM)&record);
  char line[32];
  snprintf(line, sizeof line, "result %lu", (unsigned long)result);
  WriteLine(line);
  if (identifier == kCopyDataSendId && result != 0) SetForegroundWindow((HWND)result);
}

static void HandleLine(HWND relay, char* line) {
  static char bytes[LINE_LIMIT / 2];
  if (strcmp(line, "find") == 0) {
    WriteLine(FindWindowA("TThwin", NULL) != NULL ? "result 1" : "notfound");
  } else if (strcmp(line, "request") == 0) {
    SendRecord(relay, kCopyDataRequestId, NULL, 0);
  } else if (strncmp(line, "send ", 5) == 0) {
    int count = FromHex(line + 5, bytes);
    if (count >= 0)
      SendRecord(relay, kCopyDataSendId, bytes, count);
    else
      WriteLine("result 0");
  } else {
    WriteLine("result 0");
  }
}

static LRESULT CALLBACK RelayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    WriteReply((const COPYDATASTRUCT*)lParam);
    return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

/* Reads the input line by line and posts each to the window's thread; at its end, quits. */
static DWORD WINAPI ReadInput(LPVOID parameter) {
  DWORD windowThread = (DWORD)(ULONG_PTR)parameter;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char line[LINE_LIMIT];
  size_t used = 0;
  char c;
  DWORD got;
  while (ReadFile(input, &c, 1, &got, NULL) && got == 1) {
    if (c == '\r') continue;
    if (c != '\n') {
      if (used + 1 < sizeof line) line[used++] = c;
      continue;
    }
    line[used] = '\0';
    used = 0;
    char* copy = _strdup(line);
    if (copy != NULL) PostThreadMessageA(windowThread, WM_RELAY_LINE, 0, (LPARAM)copy);
  }
  PostThreadMessageA(windowThread, WM_QUIT, 0, 0);
  return 0;
}

int main(void) {
  output = GetStdHandle(STD_OUTPUT_HANDLE);
  WNDCLASSA windowClass = {0};
  windowClass.lpfnWndProc = RelayWindowProc;
  windowClass.hInstance = GetModuleHandleA(NULL);
  windowClass.lpszClassName = "VantrelHamlogRelay";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND relay = CreateWindowA("VantrelHamlogRelay", "Vantrel", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                             windowClass.hInstance, NULL);
  if (relay == NULL) return 1;
  MSG message;
  PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE); /* the thread's queue, before the reader posts */
  HANDLE reader =
      CreateThread(NULL, 0, ReadInput, (LPVOID)(ULONG_PTR)GetCurrentThreadId(), 0, NULL);
  if (reader == NULL) return 1;
  WriteLine("ready");
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    if (message.hwnd == NULL && message.message == WM_RELAY_LINE) {
      HandleLine(relay, (char*)message.lParam);
      free((char*)message.lParam);
      continue;
    }
    DispatchMessageA(&message);
  }
  return 0;
}
