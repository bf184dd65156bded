/* A host that opens the label dialog and waits until the person leaves it.
   With an argument it calls from two threads, one after the other:
     print-then-show  prints on a worker thread, then shows on the main one;
     show-then-worker shows on the main thread, then on a worker. */
#define _POSIX_C_SOURCE 200809L
#include <korval/korval.h>
#include <pthread.h>
#include <stdio.h>
#include <string.h>

static void* PrintOnWorker(void* unused) {
  (void)unused;
  PrintTiketFormular();
  puts("printed");
  fflush(stdout);
  return NULL;
}

static void* ShowOnWorker(void* unused) {
  (void)unused;
  ShowTiketFormular(0);
  puts("dialog closed");
  fflush(stdout);
  return NULL;
}

static int OnWorker(void* (*work)(void*)) {
  pthread_t worker;
  if (pthread_create(&worker, NULL, work, NULL) != 0) return 0;
  return pthread_join(worker, NULL) == 0;
}

int main(int argc, char** argv) {
  TTiketItem item;
  const TTiketItem* pointers[1];
  TTiketItemList list;
  const char* mode = argc > 1 ? argv[1] : "";
  memset(&item, 0, sizeof item);
  item.Velikost = KORVAL_TIKET_ITEM_SIZE;
  item.Nazev[0] = 3;
  memcpy(item.Nazev + 1, "Syr", 3);
  item.Pocet = 1;
  pointers[0] = &item;
  list.TypeInfo = NULL;
  list.Items = pointers;
  list.Count = 1;
  if (strcmp(mode, "print-then-show") == 0) {
    SetTiketFormularParams(&list, "Hostitel", 0);
    if (!OnWorker(PrintOnWorker)) return 2;
    ShowTiketFormular(0);
    puts("dialog closed");
  } else if (strcmp(mode, "show-then-worker") == 0) {
    SetTiketFormularParams(&list, "Hostitel", 0);
    ShowTiketFormular(0);
    puts("dialog closed");
    fflush(stdout);
    if (!OnWorker(ShowOnWorker)) return 2;
  } else {
    SetTiketFormularParams(&list, "", 0);
    ShowTiketFormular(0);
    puts("dialog closed");
  }
  return 0;
}
