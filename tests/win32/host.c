/* A Windows host program in plain C, as a stock-keeping application drives
   the library: it loads KORVAL.dll at run time (no import library), checks the
   interface version, hands over goods records in Windows-1250 with a callback
   in the host's own calling convention, and then either prints the labels of
   a stored format without a dialog or opens the label dialog over a window
   of its own.

     host.exe <KORVAL.dll> <format name> <goods file>        print
     host.exe show <KORVAL.dll> <format name> <goods file>   open the dialog

   The goods file is UTF-8 text, one goods item a line:
     name;catalogue number;EAN digits;number of labels
   The callback answers "Kód " followed by the catalogue number, the text of
   the "další č.kódy" item. The library finds its formats through host.ini
   beside this program and the printer of the format in .\etikety.ini.

   Printing exits with 0 when every call went as the interface says. Showing
   exits with 0 when ShowTiketFormular returned; what the host saw meanwhile
   is reported on standard output, one "host: ..." line each, for the script
   that drives the dialog to check: where the dialog's client area lies on
   the screen (as soon as it appears), whether the host window was disabled
   while the dialog ran and enabled again afterwards, and how many notices of
   a saved format (WM_USER + 1) it received. Otherwise the exit code is 1
   with a message on the error stream. */
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
/* Only the tab control's messages: no comctl32 import. */
#include <commctrl.h>

#include <korval/korval.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int32_t(KORVAL_CALL* SetVer2Fn)(int32_t);
typedef void(KORVAL_CALL* SetParamsExFn)(const TTiketItemList*, const char*, int32_t,
                                         const TItemTextCallback*);
typedef void(KORVAL_CALL* PrintFn)(void);
typedef int32_t(KORVAL_CALL* SetParams2Fn)(const TTiketItem*, int32_t, const char*, int32_t);

enum { kMaxGoods = 16, kContext = 0x4B525631 };

typedef struct Goods {
  char Name[51];   /* Windows-1250 */
  char Number[13]; /* catalogue number, ASCII */
  char Ean[20];
  char Answer[64]; /* the callback's text for this item, Windows-1250 */
  int Count;
} Goods;

static Goods goods[kMaxGoods];
static int goodsCount;
static int callbackSizeCalls;
static int callbackFillCalls;
static int callbackFaults;

static void Fail(const char* what) {
  fprintf(stderr, "host: %s\n", what);
  exit(1);
}

static void FailWithError(const char* what) {
  fprintf(stderr, "host: %s (error %lu)\n", what, (unsigned long)GetLastError());
  exit(1);
}

/* UTF-8 text to the host's code page 1250; no character may be lost. */
static void ToCp1250(const char* utf8, char* out, int room) {
  wchar_t wide[256];
  BOOL lost = FALSE;
  int n;
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide, 256) == 0)
    Fail("the goods file is not UTF-8");
  n = WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, wide, -1, out, room, NULL, &lost);
  if (n == 0 || lost) {
    fprintf(stderr, "host: \"%s\" has no Windows-1250 form within %d bytes\n", utf8, room - 1);
    exit(1);
  }
}

static void SetText(uint8_t* field, size_t room, const char* text) {
  size_t n = strlen(text);
  if (n > room) Fail("a text is longer than its record field");
  field[0] = (uint8_t)n;
  memcpy(field + 1, text, n);
}

static void ReadGoods(const wchar_t* path) {
  char line[512];
  FILE* file = _wfopen(path, L"rb");
  if (file == NULL) Fail("cannot open the goods file");
  while (fgets(line, sizeof line, file) != NULL) {
    char* fields[4];
    char* cursor = line;
    char answer[64];
    int i;
    line[strcspn(line, "\r\n")] = '\0';
    if (line[0] == '\0' || line[0] == '#') continue;
    if (goodsCount == kMaxGoods) Fail("too many goods items");
    for (i = 0; i < 4; ++i) {
      fields[i] = cursor;
      cursor = strchr(cursor, ';');
      if (cursor == NULL && i < 3) Fail("a goods line has fewer than 4 fields");
      if (cursor != NULL) *cursor++ = '\0';
    }
    ToCp1250(fields[0], goods[goodsCount].Name, sizeof goods[goodsCount].Name);
    ToCp1250(fields[1], goods[goodsCount].Number, sizeof goods[goodsCount].Number);
    ToCp1250(fields[2], goods[goodsCount].Ean, sizeof goods[goodsCount].Ean);
    snprintf(answer, sizeof answer, "Kód %s", fields[1]); /* UTF-8 like the file */
    ToCp1250(answer, goods[goodsCount].Answer, sizeof goods[goodsCount].Answer);
    goods[goodsCount].Count = atoi(fields[3]);
    if (goods[goodsCount].Count < 1 || goods[goodsCount].Count > 1000)
      Fail("a label count is out of range");
    ++goodsCount;
  }
  fclose(file);
  if (goodsCount == 0) Fail("the goods file lists no goods");
}

static const Goods* FindGoods(const char* number) {
  int i;
  for (i = 0; i < goodsCount; ++i)
    if (strcmp(goods[i].Number, number) == 0) return &goods[i];
  return NULL;
}

/* The further barcodes of a catalogue number. On 32-bit Windows the library
   calls this in the host's register convention (the header's typedef); a
   call in any other convention brings a wrong context, key or stack here. */
#if KORVAL_WIN32_ABI
static int32_t __attribute__((regparm(3), stdcall))
FurtherBarcodes(intptr_t context, int32_t request, const char* key, int32_t* length, char* buffer)
#else
static int32_t FurtherBarcodes(intptr_t context, int32_t request, const char* key, char* buffer,
                               int32_t* length)
#endif
{
  const Goods* item;
  int32_t needed;
  if (context != kContext || request != KORVAL_REQUEST_FURTHER_BARCODES || key == NULL ||
      length == NULL) {
    ++callbackFaults;
    fprintf(stderr, "host: callback called with context %ld, request %ld\n", (long)context,
            (long)request);
    return 1;
  }
  item = FindGoods(key);
  if (item == NULL) {
    ++callbackFaults;
    fprintf(stderr, "host: callback asked about unknown catalogue number \"%s\"\n", key);
    return 1;
  }
  needed = (int32_t)strlen(item->Answer) + 1;
  if (buffer == NULL) {
    ++callbackSizeCalls;
    *length = needed;
    return 0;
  }
  ++callbackFillCalls;
  if (*length < needed) {
    ++callbackFaults;
    fprintf(stderr, "host: callback got a buffer of %ld bytes for %ld\n", (long)*length,
            (long)needed);
    return 1;
  }
  memcpy(buffer, item->Answer, (size_t)needed);
  return 0;
}

static FARPROC Entry(HMODULE library, const char* name) {
  FARPROC entry = GetProcAddress(library, name);
  if (entry == NULL) {
    fprintf(stderr, "host: KORVAL.dll does not export %s\n", name);
    exit(1);
  }
  return entry;
}

/* --- The dialog over a window of the host's own. */

typedef void(KORVAL_CALL* ShowFn)(intptr_t);

static HWND hostWindow;
static int inDialog;         /* ShowTiketFormular has not returned yet */
static int disabledMessages; /* WM_ENABLE(FALSE) while the dialog ran */
static int disabledTicks;    /* timer ticks that found the window disabled */
static int enabledTicks;     /* timer ticks that found it enabled while the dialog ran */
static int saveNotices;
static int badNotices; /* WM_USER + 1 with parameters other than 0 */
static int dialogReported;

/* The dialog's caption: the form's own, or the version caption that the
   creation steps give it. */
static int IsDialogCaption(const wchar_t* caption) {
  return wcsncmp(caption, L"Nastavení etikety", 17) == 0 || wcsncmp(caption, L"KORVAL ver.", 11) == 0;
}

static BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t caption[128];
  if (window == hostWindow || !IsWindowVisible(window)) return TRUE;
  if (GetWindowTextW(window, caption, 128) == 0 || !IsDialogCaption(caption)) return TRUE;
  *(HWND*)found = window;
  return FALSE;
}

static void Utf8(const wchar_t* text, char* out, int room) {
  if (WideCharToMultiByte(CP_UTF8, 0, text, -1, out, room, NULL, NULL) == 0) out[0] = '\0';
}

/* A tab control's pages and tabs on the screen: where they lie depends on the
   system's metrics, not on the layout. */
static BOOL CALLBACK ReportTabs(HWND window, LPARAM unused) {
  wchar_t className[64];
  RECT bounds, pages, tab;
  POINT origin = {0, 0};
  int count, i;
  (void)unused;
  if (GetClassNameW(window, className, 64) == 0 || lstrcmpiW(className, WC_TABCONTROLW) != 0)
    return TRUE;
  GetWindowRect(window, &bounds);
  ClientToScreen(window, &origin);
  GetClientRect(window, &pages);
  SendMessageW(window, TCM_ADJUSTRECT, FALSE, (LPARAM)&pages);
  printf("host: tab control at %ld,%ld size %ldx%ld, pages at %ld,%ld size %ldx%ld\n",
         (long)bounds.left, (long)bounds.top, (long)(bounds.right - bounds.left),
         (long)(bounds.bottom - bounds.top), (long)(origin.x + pages.left),
         (long)(origin.y + pages.top), (long)(pages.right - pages.left),
         (long)(pages.bottom - pages.top));
  count = (int)SendMessageW(window, TCM_GETITEMCOUNT, 0, 0);
  for (i = 0; i < count; ++i) {
    wchar_t text[64];
    char textUtf8[128];
    TCITEMW item;
    memset(&item, 0, sizeof item);
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    text[0] = L'\0';
    SendMessageW(window, TCM_GETITEMW, (WPARAM)i, (LPARAM)&item);
    if (!SendMessageW(window, TCM_GETITEMRECT, (WPARAM)i, (LPARAM)&tab)) continue;
    Utf8(text, textUtf8, sizeof textUtf8);
    printf("host: tab \"%s\" at %ld,%ld size %ldx%ld\n", textUtf8, (long)(origin.x + tab.left),
           (long)(origin.y + tab.top), (long)(tab.right - tab.left), (long)(tab.bottom - tab.top));
  }
  return TRUE;
}

/* Where the dialog's client area lies on the screen, said once with its
   tabs and the height of its font: the script that drives the dialog adds
   the layout's coordinates to them. */
static void ReportDialog(void) {
  HWND dialog = NULL;
  POINT origin = {0, 0};
  RECT client;
  char caption[256];
  wchar_t wide[128];
  HFONT font;
  HDC dc;
  HGDIOBJ old;
  TEXTMETRICW metrics;
  if (dialogReported) return;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&dialog);
  if (dialog == NULL || !GetClientRect(dialog, &client) || !ClientToScreen(dialog, &origin)) return;
  GetWindowTextW(dialog, wide, 128);
  Utf8(wide, caption, sizeof caption);
  printf("host: dialog \"%s\" client area at %ld,%ld size %ldx%ld\n", caption, (long)origin.x,
         (long)origin.y, (long)client.right, (long)client.bottom);
  font = (HFONT)SendMessageW(dialog, WM_GETFONT, 0, 0);
  dc = GetDC(dialog);
  old = SelectObject(dc, font != NULL ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
  if (GetTextMetricsW(dc, &metrics)) printf("host: dialog font height %ld\n", (long)metrics.tmHeight);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  EnumChildWindows(dialog, ReportTabs, 0);
  fflush(stdout);
  dialogReported = 1;
}

static LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ENABLE:
      if (!wParam && inDialog) ++disabledMessages;
      return 0;
    case WM_TIMER:
      /* Runs from the dialog's modal loop, which dispatches the thread's
         messages. */
      if (inDialog) {
        if (IsWindowEnabled(window))
          ++enabledTicks;
        else
          ++disabledTicks;
        ReportDialog();
      }
      return 0;
    case KORVAL_WM_FORMAT_SAVED:
      if (wParam != 0 || lParam != 0) ++badNotices;
      ++saveNotices;
      printf("host: notice of a saved format received\n");
      fflush(stdout);
      return 0;
    case WM_CLOSE:
      /* Only the host itself ends its window. */
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

static int ShowDialog(ShowFn show) {
  WNDCLASSW windowClass;
  MSG message;
  int enabledAfter;
  memset(&windowClass, 0, sizeof windowClass);
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = GetModuleHandleW(NULL);
  windowClass.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
  windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"KorvalTestHost";
  if (RegisterClassW(&windowClass) == 0) FailWithError("cannot register the host window class");
  /* A small window in the screen's corner, clear of the centred dialog. */
  hostWindow = CreateWindowExW(0, L"KorvalTestHost", L"Sklad (KORVAL host)",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 120, NULL, NULL,
                               windowClass.hInstance, NULL);
  if (hostWindow == NULL) FailWithError("cannot create the host window");
  UpdateWindow(hostWindow);
  if (SetTimer(hostWindow, 1, 100, NULL) == 0) FailWithError("cannot start the host's timer");

  inDialog = 1;
  show((intptr_t)hostWindow);
  inDialog = 0;
  KillTimer(hostWindow, 1);
  enabledAfter = IsWindowEnabled(hostWindow) != 0;
  /* A notice posted just before the dialog ended is still queued. */
  while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  printf("host: ShowTiketFormular returned\n");
  printf("host: dialog seen: %s\n", dialogReported ? "yes" : "no");
  printf("host: host window disabled while the dialog ran: %s (WM_ENABLE %d, timer found it "
         "disabled %d times, enabled %d times)\n",
         disabledMessages > 0 && enabledTicks == 0 ? "yes" : "no", disabledMessages, disabledTicks,
         enabledTicks);
  printf("host: host window enabled after the dialog: %s\n", enabledAfter ? "yes" : "no");
  printf("host: save notices received: %d%s\n", saveNotices,
         badNotices != 0 ? " (some with parameters other than 0)" : "");
  DestroyWindow(hostWindow);
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  static TTiketItem records[kMaxGoods];
  const TTiketItem* pointers[kMaxGoods];
  TTiketItemList list;
  TItemTextCallback callback;
  char format[64];
  char formatUtf8[128];
  HMODULE library;
  SetVer2Fn setVer2;
  SetParamsExFn setParamsEx;
  PrintFn print;
  SetParams2Fn setParams2;
  TTiketItem wrongSize;
  int32_t version;
  int32_t answer;
  int labels = 0;
  int i;

  int showMode = argc == 5 && wcscmp(argv[1], L"show") == 0;
  ShowFn show;

  if (argc != 4 && !showMode)
    Fail("usage: host.exe [show] <KORVAL.dll> <format name> <goods file>");
  if (showMode) ++argv;
  if (WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, formatUtf8, sizeof formatUtf8, NULL, NULL) == 0)
    Fail("the format name is too long");
  ToCp1250(formatUtf8, format, sizeof format);
  ReadGoods(argv[3]);

  library = LoadLibraryW(argv[1]);
  if (library == NULL) FailWithError("cannot load KORVAL.dll");
  /* FARPROC to the exported function's own type: the DLL exports them so. */
  setVer2 = (SetVer2Fn)(void (*)(void))Entry(library, "SetVer2");
  setParamsEx = (SetParamsExFn)(void (*)(void))Entry(library, "SetTiketFormularParamsEx");
  print = (PrintFn)(void (*)(void))Entry(library, "PrintTiketFormular");
  (void)Entry(library, "SetTiketFormularParams");
  setParams2 = (SetParams2Fn)(void (*)(void))Entry(library, "SetTiketFormularParams2");
  show = (ShowFn)(void (*)(void))Entry(library, "ShowTiketFormular");

  version = setVer2(0x00020005);
  if (version != KORVAL_INTERFACE_VERSION) {
    fprintf(stderr, "host: SetVer2 answered %ld, not %d\n", (long)version,
            KORVAL_INTERFACE_VERSION);
    return 1;
  }

  for (i = 0; i < goodsCount; ++i) {
    memset(&records[i], 0, sizeof records[i]);
    records[i].Velikost = KORVAL_TIKET_ITEM_SIZE;
    SetText(records[i].Nazev, 50, goods[i].Name);
    SetText(records[i].Cislo, 12, goods[i].Number);
    SetText(records[i].EAN, 19, goods[i].Ean);
    records[i].CenaA = 35.5 + i;
    records[i].CenaAsDPH = 42.96 + i;
    records[i].Pocet = (uint16_t)goods[i].Count;
    pointers[i] = &records[i];
    labels += goods[i].Count;
  }
  list.TypeInfo = NULL;
  list.Items = pointers;
  list.Count = goodsCount;
  callback.Func = FurtherBarcodes;
  callback.Context = kContext;

  /* Printer index -1: the printer must come from the format's entry in
     etikety.ini, or the library would ask for one. */
  setParamsEx(&list, format, -1, &callback);
  if (showMode) {
    int status = ShowDialog(show);
    if (callbackFaults != 0) Fail("the library called the callback wrongly");
    if (!FreeLibrary(library)) FailWithError("cannot unload KORVAL.dll");
    return status;
  }
  print();

  if (callbackFaults != 0) Fail("the library called the callback wrongly");
  /* Every label binds its item and asks for its text: once for the size and
     once for the text each time. */
  if (callbackSizeCalls < goodsCount || callbackFillCalls < goodsCount ||
      callbackFillCalls != callbackSizeCalls) {
    fprintf(stderr, "host: callback answered %d size and %d text calls for %d goods items\n",
            callbackSizeCalls, callbackFillCalls, goodsCount);
    return 1;
  }
  /* Bad input is answered with the interface's codes, as on every system,
     and the call returns: no exception leaves the library. */
  wrongSize = records[0];
  wrongSize.Velikost = KORVAL_TIKET_ITEM_SIZE - 4;
  if ((answer = setParams2(&wrongSize, 1, format, -1)) != KORVAL_ERROR_INVALID_BLOCK ||
      (answer = setParams2(NULL, 3, format, -1)) != KORVAL_ERROR_INVALID_BLOCK ||
      (answer = setParams2(records, KORVAL_MAX_RECORDS + 1, format, -1)) !=
          KORVAL_ERROR_NOT_ENOUGH_MEMORY ||
      (answer = setParams2(records, goodsCount, format, -1)) != 0) {
    fprintf(stderr, "host: SetTiketFormularParams2 answered %ld to bad input\n", (long)answer);
    return 1;
  }

  if (!FreeLibrary(library)) FailWithError("cannot unload KORVAL.dll");
  printf("host: %d labels of %d goods items sent to print with format %s, %d callback calls\n",
         labels, goodsCount, formatUtf8, callbackSizeCalls + callbackFillCalls);
  return 0;
}
