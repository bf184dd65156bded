/* A host that opens the label dialog and waits until the person leaves it. */
#include <korval/korval.h>
#include <stdio.h>
#include <string.h>

int main(void) {
  TTiketItem item;
  const TTiketItem* pointers[1];
  TTiketItemList list;
  memset(&item, 0, sizeof item);
  item.Velikost = KORVAL_TIKET_ITEM_SIZE;
  item.Nazev[0] = 3;
  memcpy(item.Nazev + 1, "Syr", 3);
  item.Pocet = 1;
  pointers[0] = &item;
  list.TypeInfo = NULL;
  list.Items = pointers;
  list.Count = 1;
  SetTiketFormularParams(&list, "", 0);
  ShowTiketFormular(0);
  puts("dialog closed");
  return 0;
}
