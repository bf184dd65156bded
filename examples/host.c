/*
 * host.c - a host program for the KORVAL label library, in plain C.
 *
 * It does what a stock-keeping program does: fills a goods record for each
 * article, hands the records over with the name of a stored label format,
 * and prints the labels at once or opens the label dialog.
 *
 *   host                  print the labels of the goods below, format "Cenovka"
 *   host --show           open the label dialog instead
 *   host --format NAME    use another stored format
 *
 * Where the formats are: when it loads, the library reads "FormPath" in
 * section [Params] of the configuration file beside this program (its path
 * with the extension ".ini": host.ini, or host.ini beside host.exe):
 *
 *   [Params]
 *   FormPath=/srv/sklad/etikety/
 *
 * That folder holds TiketFrm.ini and the TiketSav.NNN files of the formats
 * (examples/forms/ has "Cenovka").
 *
 * Which printer: etikety.ini in the current folder, section [SETUP], key
 * "Cenovka_TISKARNA" (the printer of that format) or "TISKARNA". On Linux the
 * printer "PDF" writes labels.pdf into the current folder:
 *
 *   [SETUP]
 *   Cenovka_TISKARNA=PDF
 *
 * Build on Linux against a build of the library:
 *   cc -std=c11 -Iinclude examples/host.c -Lbuild/src -lkorval -o host
 */
#include <korval/korval.h>
#include <stdio.h>
#include <string.h>

struct Goods {
  const char* name; /* UTF-8, as this program keeps its texts */
  const char* number;
  const char* ean;
  const char* unit;
  double price;
  double priceWithVat;
  uint16_t labels;
};

static const struct Goods kGoods[] = {
    {"Žluťoučký kůň – sýr Eidam 30 %", "SYR-0301", "8594001001019", "kg", 129.75, 149.21, 3},
    {"Čokoláda hořká 70 %", "COK-0070", "8594001002023", "ks", 36.50, 41.98, 2},
    {"Káva zrnková Šumava 1 kg", "KAV-1000", "8594001003037", "ks", 389.00, 447.35, 1},
    {"Chléb kmínový", "PEC-0420", "8594001005055", "ks", 42.00, 48.30, 2},
};
enum { kGoodsCount = sizeof kGoods / sizeof kGoods[0] };

/* Puts a UTF-8 text into a string[N] field of a record. The library stores
   what fits and tells what the whole text needed; characters that
   Windows-1250 lacks become '?'. */
static void PutText(uint8_t* field, int32_t fieldSize, const char* fieldName, const char* text) {
  int32_t replaced = 0;
  const int32_t needed = korval_set_text(field, fieldSize, text, KORVAL_TEXT_UTF8, &replaced);
  if (needed < 0) {
    fprintf(stderr, "host: %s is not a text field\n", fieldName);
  } else if (needed > fieldSize - 1) {
    fprintf(stderr, "host: %s \"%s\" cut to %d of its %d characters\n", fieldName, text,
            (int)(fieldSize - 1), (int)needed);
  }
  if (replaced > 0)
    fprintf(stderr, "host: %s \"%s\": %d characters printed as '?'\n", fieldName, text,
            (int)replaced);
}

#define PUT_TEXT(record, field, text) \
  PutText((record)->field, (int32_t)sizeof((record)->field), #field, (text))

static void FillRecord(TTiketItem* record, const struct Goods* goods) {
  memset(record, 0, sizeof *record);
  record->Velikost = KORVAL_TIKET_ITEM_SIZE;
  PUT_TEXT(record, Nazev, goods->name);
  PUT_TEXT(record, Cislo, goods->number);
  PUT_TEXT(record, EAN, goods->ean);
  PUT_TEXT(record, Jednotka, goods->unit);
  record->CenaA = goods->price;
  record->CenaAsDPH = goods->priceWithVat;
  record->Pocet = goods->labels;
  /* Rozsireni stays 0: these goods have no extension block. */
}

/* After the person saves a format under a name in the dialog. */
static void FormatSaved(void* context, intptr_t hostWindow, uint32_t message) {
  (void)context;
  (void)hostWindow;
  if (message == KORVAL_WM_FORMAT_SAVED) puts("host: a label format was saved");
}

int main(int argc, char** argv) {
  const char* format = "Cenovka";
  int show = 0;
  TTiketItem records[kGoodsCount];
  uint8_t scratch[256];
  char formatName[256];
  char name[256];
  int32_t result;
  int i;

  for (i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--show") == 0) {
      show = 1;
    } else if (strcmp(argv[i], "--format") == 0 && i + 1 < argc) {
      format = argv[++i];
    } else {
      fprintf(stderr, "usage: %s [--show] [--format NAME]\n", argv[0]);
      return 2;
    }
  }

  if (SetVer2(0) != KORVAL_INTERFACE_VERSION) {
    fprintf(stderr, "host: this library speaks another interface version\n");
    return 1;
  }

  for (i = 0; i < kGoodsCount; ++i) FillRecord(&records[i], &kGoods[i]);

  /* What the library will read, back from the records. */
  for (i = 0; i < kGoodsCount; ++i) {
    korval_get_text(records[i].Nazev, (int32_t)sizeof records[i].Nazev, name, (int32_t)sizeof name,
                    KORVAL_TEXT_UTF8);
    printf("%d x %s\n", (int)records[i].Pocet, name);
  }

  /* The format name is Windows-1250 like the records' texts: a field-sized
     scratch buffer converts it (a name has at most 255 characters). */
  korval_set_text(scratch, (int32_t)sizeof scratch, format, KORVAL_TEXT_UTF8, NULL);
  korval_get_text(scratch, (int32_t)sizeof scratch, formatName, (int32_t)sizeof formatName,
                  KORVAL_TEXT_CP1250);

  /* The library copies the records: ours could be freed after this call.
     Printer index -1: this program picks none, etikety.ini names it. */
  result = SetTiketFormularParams2(records, kGoodsCount, formatName, -1);
  if (result != 0) {
    fprintf(stderr, "host: the library refused the goods (%d)\n", (int)result);
    return 1;
  }
  SetTiketFormularNotify(FormatSaved, NULL);

  if (show) {
    /* No window of our own to pass: this is a console program. The call
       returns when the person leaves the dialog. */
    ShowTiketFormular(0);
  } else {
    /* Errors are shown as message boxes, or written to standard error where
       no one can see a box. */
    PrintTiketFormular();
  }
  return 0;
}
