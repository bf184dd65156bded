/* A Windows host program in plain C, as a stock-keeping application drives
   the library: it loads KORVAL.dll at run time (no import library), checks the
   interface version, hands over goods records in Windows-1250 with a callback
   in the host's own calling convention, and prints the labels of a stored
   format without a dialog.

     host.exe <KORVAL.dll> <format name> <goods file>

   The goods file is UTF-8 text, one goods item a line:
     name;catalogue number;EAN digits;number of labels
   The callback answers "Kód " followed by the catalogue number, the text of
   the "další č.kódy" item. The library finds its formats through host.ini
   beside this program and the printer of the format in .\etikety.ini.
   Exits with 0 when every call went as the interface says, otherwise with 1
   and a message on the error stream. */
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

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

  if (argc != 4) Fail("usage: host.exe <KORVAL.dll> <format name> <goods file>");
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
  (void)Entry(library, "ShowTiketFormular");

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
