/*
 * How long PrintTiketFormular takes a C host for one sheet of labels (21
 * goods, the example format "Cenovka", the PDF printer): the first call of
 * the process, which starts the library's toolkit, reads the format and
 * makes the fonts, and the median of the calls after it. Prints figures only.
 *
 * The library finds the formats through print_call.ini beside this program;
 * the printer is named in etikety.ini of the folder it runs in, a temporary
 * one made here.
 */
#define _POSIX_C_SOURCE 200809L
#include <korval/korval.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

enum { kRecords = 21, kLaterCalls = 9 };

static double NowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int ByValue(const void* a, const void* b) {
  const double x = *(const double*)a;
  const double y = *(const double*)b;
  return (x > y) - (x < y);
}

int main(void) {
  char folder[] = "/tmp/korval-bench-print-call-XXXXXX";
  TTiketItem records[kRecords];
  double later[kLaterCalls];
  double start, first;
  FILE* settings;
  int i;

  if (mkdtemp(folder) == NULL || chdir(folder) != 0) return 1;
  settings = fopen("etikety.ini", "wb");
  if (settings == NULL) return 1;
  fputs("[SETUP]\r\nCenovka_TISKARNA=PDF\r\n", settings);
  fclose(settings);

  for (i = 0; i < kRecords; ++i) {
    char name[64];
    char ean[16];
    memset(&records[i], 0, sizeof records[i]);
    records[i].Velikost = KORVAL_TIKET_ITEM_SIZE;
    snprintf(name, sizeof name, "Zboží číslo %d – žluťoučký kůň", i + 1);
    snprintf(ean, sizeof ean, "85940010%05d", i);
    korval_set_text(records[i].Nazev, (int32_t)sizeof records[i].Nazev, name, KORVAL_TEXT_UTF8,
                    NULL);
    korval_set_text(records[i].EAN, (int32_t)sizeof records[i].EAN, ean, KORVAL_TEXT_UTF8, NULL);
    records[i].CenaAsDPH = 10.9 + i;
    records[i].Pocet = 1;
  }
  if (SetTiketFormularParams2(records, kRecords, "Cenovka", -1) != 0) return 1;

  start = NowMs();
  PrintTiketFormular();
  first = NowMs() - start;
  for (i = 0; i < kLaterCalls; ++i) {
    start = NowMs();
    PrintTiketFormular();
    later[i] = NowMs() - start;
  }
  qsort(later, kLaterCalls, sizeof later[0], ByValue);
  printf("PrintTiketFormular, one sheet of %d labels to PDF: first call %.1f ms, later %.1f ms"
         " (median of %d)\n",
         kRecords, first, later[kLaterCalls / 2], kLaterCalls);
  remove("labels.pdf");
  remove("etikety.ini");
  chdir("/");
  rmdir(folder);
  return 0;
}
