/* A host program in plain C: what a stock-keeping application does with the
   library, through korval.h alone. */
#define _POSIX_C_SOURCE 200809L
#include <korval/korval.h>
#include <stdio.h>
#include <string.h>

static int passed;
static int failed;

#define CHECK(cond)                                                      \
  do {                                                                   \
    if (cond) {                                                          \
      ++passed;                                                          \
    } else {                                                             \
      ++failed;                                                          \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
    }                                                                    \
  } while (0)

static void SetText(uint8_t* field, size_t room, const char* text) {
  size_t n = strlen(text);
  if (n > room) n = room;
  field[0] = (uint8_t)n;
  memcpy(field + 1, text, n);
}

static TTiketItem MakeItem(const char* name, const char* ean, uint16_t count) {
  TTiketItem item;
  memset(&item, 0, sizeof item);
  item.Velikost = KORVAL_TIKET_ITEM_SIZE;
  SetText(item.Nazev, 50, name);
  SetText(item.EAN, 19, ean);
  item.CenaAsDPH = 41.98;
  item.Pocet = count;
  return item;
}

static int callbackCalls;

static int32_t FurtherBarcodes(intptr_t context, int32_t request, const char* key, char* buffer,
                               int32_t* length) {
  static const char answer[] = "8594001002023";
  (void)context;
  (void)key;
  ++callbackCalls;
  if (request != KORVAL_REQUEST_FURTHER_BARCODES) return 1;
  if (buffer == NULL) {
    *length = (int32_t)sizeof answer;
    return 0;
  }
  memcpy(buffer, answer, (size_t)*length);
  return 0;
}

/* A callback that hands over more records while the library is reading the
   record it asks about: the library refuses, and reads no freed memory. */
static TTiketItem moreItems[40];
static int32_t reentrantResult = -1;

static int32_t HandOverMore(intptr_t context, int32_t request, const char* key, char* buffer,
                            int32_t* length) {
  (void)context;
  (void)request;
  (void)key;
  if (buffer == NULL) {
    reentrantResult = SetTiketFormularParams2(moreItems, 40, "Hostitel", -1);
    *length = 5;
    return 0;
  }
  memcpy(buffer, "4711", 5);
  return 0;
}

/* A callback that answers a size no label can show. */
static int hugeSecondCalls;

static int32_t AnswerHuge(intptr_t context, int32_t request, const char* key, char* buffer,
                          int32_t* length) {
  (void)context;
  (void)request;
  (void)key;
  if (buffer == NULL) {
    *length = INT32_MAX;
    return 0;
  }
  ++hugeSecondCalls;
  buffer[0] = '\0';
  return 0;
}

/* Whether the text of the printed PDF holds the given text. */
static int PdfHas(const char* file, const char* text) {
  char command[256];
  char line[512];
  int found = 0;
  FILE* pipe;
  snprintf(command, sizeof command, "pdftotext -enc UTF-8 %s - 2>/dev/null", file);
  pipe = popen(command, "r");
  if (pipe == NULL) return 0;
  while (fgets(line, sizeof line, pipe) != NULL) {
    if (strstr(line, text) != NULL) found = 1;
  }
  pclose(pipe);
  return found;
}

static int notices;

static void Notice(void* context, intptr_t window, uint32_t message) {
  (void)context;
  (void)window;
  if (message == KORVAL_WM_FORMAT_SAVED) ++notices;
}

int main(void) {
  TTiketItem items[2];
  const TTiketItem* pointers[2];
  TTiketItemList list;
  TItemTextCallback callback;

  CHECK(sizeof(TTiketItem) == 494);
  CHECK(SetVer2(0) == 196609);
  CHECK(SetVer2(-5) == KORVAL_INTERFACE_VERSION);

  items[0] = MakeItem("Sýr", "8594001001019", 3);
  items[1] = MakeItem("Chléb", "8594001005055", 2);
  CHECK(SetTiketFormularParams2(items, 2, "A", -1) == 0);
  CHECK(SetTiketFormularParams2(items, 0, NULL, -1) == 0);
  items[0].Velikost = 400;
  CHECK(SetTiketFormularParams2(items, 2, "A", -1) == 9);
  items[0].Velikost = KORVAL_TIKET_ITEM_SIZE;

  pointers[0] = &items[0];
  pointers[1] = &items[1];
  list.TypeInfo = NULL;
  list.Items = pointers;
  list.Count = 2;
  callback.Func = FurtherBarcodes;
  callback.Context = 0;
  SetTiketFormularParams(&list, "A", -1);
  SetTiketFormularParamsEx(&list, NULL, 0, &callback);
  SetTiketFormularParamsEx(&list, "A", 0, NULL);
  SetTiketFormularExtensions(NULL, 0);
  SetTiketFormularNotify(Notice, NULL);
  CHECK(notices == 0);

  /* Printing at once: format "Hostitel" shows the name and the further
     barcodes that the callback answers. */
  remove("labels.pdf");
  items[0] = MakeItem("Syr", "8594001001019", 1);
  SetTiketFormularParamsEx(&list, "Hostitel", 0, &callback);
  callbackCalls = 0;
  PrintTiketFormular();
  CHECK(callbackCalls >= 2);
  CHECK(PdfHas("labels.pdf", "Syr"));
  CHECK(PdfHas("labels.pdf", "8594001002023"));
  CHECK(notices == 0);

  /* New records from inside the callback, while a record is being bound. */
  {
    int i;
    TItemTextCallback reentrant;
    for (i = 0; i < 40; ++i) moreItems[i] = MakeItem("Jine", "8594001005055", 1);
    reentrant.Func = HandOverMore;
    reentrant.Context = 0;
    SetTiketFormularParamsEx(&list, "Hostitel", 0, &reentrant);
    items[0] = MakeItem("Syr", "8594001001019", 1);
    CHECK(SetTiketFormularParams2(items, 1, "Hostitel", -1) == 0);
    remove("labels.pdf");
    PrintTiketFormular();
    CHECK(reentrantResult == KORVAL_ERROR_BUSY);
    CHECK(PdfHas("labels.pdf", "Syr"));
    CHECK(PdfHas("labels.pdf", "4711"));
    CHECK(!PdfHas("labels.pdf", "Jine"));
  }

  /* A count no host can have records for is refused, not thrown at us. */
  CHECK(SetTiketFormularParams2(items, INT32_MAX, "Hostitel", -1) ==
        KORVAL_ERROR_NOT_ENOUGH_MEMORY);

  /* An answer of INT32_MAX bytes: no 2 GiB buffer, the text stays empty. */
  {
    TItemTextCallback huge;
    huge.Func = AnswerHuge;
    huge.Context = 0;
    SetTiketFormularParamsEx(&list, "Hostitel", 0, &huge);
    remove("labels.pdf");
    PrintTiketFormular();
    CHECK(hugeSecondCalls == 0);
    CHECK(PdfHas("labels.pdf", "Syr"));
  }

  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
