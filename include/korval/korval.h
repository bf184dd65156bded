/*
 * KORVAL - price-label designer and label printer.
 *
 * The C interface for host programs: six functions, the goods item record
 * TTiketItem (494 bytes, packed, little-endian), its extension block, the
 * host's goods list object and the host callback for further barcodes.
 *
 * Texts handed over by the host are single-byte Windows-1250 texts.
 *
 * On 32-bit Windows the functions use __stdcall and are exported undecorated,
 * and the host callback uses the host's register convention. Elsewhere they use
 * the C convention with the same argument order and widths.
 */
#ifndef KORVAL_KORVAL_H
#define KORVAL_KORVAL_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define KORVAL_WIN32_ABI 1
#define KORVAL_CALL __stdcall
#else
#define KORVAL_WIN32_ABI 0
#define KORVAL_CALL
#endif

#if defined(_WIN32)
#if defined(KORVAL_BUILDING_LIBRARY)
#define KORVAL_API __declspec(dllexport)
#else
#define KORVAL_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define KORVAL_API __attribute__((visibility("default")))
#else
#define KORVAL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The interface version that SetVer2 answers: 3.1 (high word 3, low word 1). */
#define KORVAL_INTERFACE_VERSION 196609

/* The size every record must announce in Velikost. */
#define KORVAL_TIKET_ITEM_SIZE 494

/* Message posted to the host window after every named save of a format. */
#define KORVAL_WM_FORMAT_SAVED 1025 /* WM_USER + 1 */

/* Results of SetTiketFormularParams2 besides 0, as the system's error codes. */
#define KORVAL_ERROR_NOT_ENOUGH_MEMORY 8 /* more records than the library can hold */
#define KORVAL_ERROR_INVALID_BLOCK 9     /* the first record's size is not 494 */
#define KORVAL_ERROR_BUSY 170            /* called from inside a host callback */

/* The most records SetTiketFormularParams2 copies (2 GiB of records). */
#define KORVAL_MAX_RECORDS 4194304

/* The most bytes the host callback may ask for (NUL included); a longer
   answer gives an empty text, as a failed second call. */
#define KORVAL_MAX_HOST_TEXT 65536

/* Request code of the host callback: further barcodes of a catalogue number. */
#define KORVAL_REQUEST_FURTHER_BARCODES 1

#pragma pack(push, 1)

struct TTiketItemExt;

/*
 * One goods item. A string[N] field is one length byte followed by room for
 * N bytes of text; bytes past the length are ignored.
 */
typedef struct TTiketItem {
  int32_t Velikost;    /* size of the record: must be 494 */
  uint8_t Rezerva;     /* not read */
  uint8_t Nazev[51];   /* string[50]  goods name */
  uint8_t Cislo[13];   /* string[12]  catalogue number */
  double CenaA;        /* price A without VAT */
  double CenaAsDPH;    /* price A with VAT */
  double CenaB;        /* price B without VAT */
  double CenaBsDPH;    /* price B with VAT */
  double CenaC;        /* price C without VAT */
  double CenaCsDPH;    /* price C with VAT */
  double MinZasoba;    /* minimum stock */
  double MaxZasoba;    /* maximum stock */
  double EuroKurz;     /* euro exchange rate */
  double Euro;         /* value in euro */
  uint8_t PLU1[6];     /* string[5]   PLU number 1 */
  uint8_t PLU2[6];     /* string[5]   PLU number 2 */
  double PLU1Cena;     /* price for PLU 1 */
  double PLU2Cena;     /* price for PLU 2 */
  uint8_t Jednotka[6]; /* string[5]   unit of measure */
  uint8_t EAN[20];     /* string[19]  barcode digits */
  uint8_t TkInfo[81];  /* string[80]  information text of the drawn card */
  uint8_t Pozn1[51];   /* string[50]  note line 1 */
  uint8_t Pozn2[51];   /* string[50]  note line 2 */
  uint8_t Pozn3[51];   /* string[50]  note line 3 */
  uint8_t Pozn4[51];   /* string[50]  note line 4 */
  uint16_t Pocet;      /* number of labels to print */
#if KORVAL_WIN32_ABI
  const struct TTiketItemExt* Rozsireni; /* extension block, or 0 */
#else
  /* Pointers do not fit the record here: a non-zero value is a 1-based index
     into the table handed over with SetTiketFormularExtensions. */
  uint32_t Rozsireni;
#endif
} TTiketItem;

/* Optional extension block of a record, in host memory. */
typedef struct TTiketItemExt {
  int32_t Velikost;            /* size of the block in bytes */
  uint8_t CenaZaJednotku[105]; /* string[104] unit-price template with %TEXT1%..%TEXT3% */
  const char* Ingredience;     /* ingredient list, NUL-terminated; present when
                                  Velikost covers it (113 on 32-bit Windows) */
} TTiketItemExt;

#pragma pack(pop)

/* The host's goods list object: read in place, never changed. */
typedef struct TTiketItemList {
  const void* TypeInfo;           /* the host's class pointer; not used */
  const TTiketItem* const* Items; /* contiguous array of record addresses */
  int32_t Count;                  /* number of entries in Items */
} TTiketItemList;

/*
 * The host callback. It answers request 1 for the NUL-terminated key (the
 * catalogue number): called first with buffer 0 it sets *length to the size
 * it needs (NUL included); called again with a buffer of that size it fills
 * it. It returns 0 on success.
 *
 * On 32-bit Windows it is called in the host's register convention: context
 * in EAX, request in EDX, key in ECX, then the buffer and the length address
 * pushed in that order and removed by the callee. With GCC that is regparm(3)
 * with stdcall and the two stacked arguments declared in reverse order.
 */
#if KORVAL_WIN32_ABI && defined(__GNUC__)
typedef int32_t(__attribute__((regparm(3), stdcall)) *
                TItemTextFunc)(intptr_t context, int32_t request, const char* key, int32_t* length,
                               char* buffer);
#else
typedef int32_t (*TItemTextFunc)(intptr_t context, int32_t request, const char* key, char* buffer,
                                 int32_t* length);
#endif

typedef struct TItemTextCallback {
  TItemTextFunc Func;
  intptr_t Context; /* handed back to Func unchanged */
} TItemTextCallback;

/* Called after a named save in place of the Windows message to the host window. */
typedef void (*TTiketNotifyFunc)(void* context, intptr_t hostWindow, uint32_t message);

/* Hands over a goods list (kept by reference), a format name and a printer index. */
KORVAL_API void KORVAL_CALL SetTiketFormularParams(const TTiketItemList* list,
                                                   const char* formatName, int32_t printerIndex);

/* As SetTiketFormularParams, with a host callback (copied; 0 keeps the one in force). */
KORVAL_API void KORVAL_CALL SetTiketFormularParamsEx(const TTiketItemList* list,
                                                     const char* formatName, int32_t printerIndex,
                                                     const TItemTextCallback* callback);

/* Copies count records of 494 bytes. Returns 0; 9 when the first record's
   size is not 494; 8 when count is above KORVAL_MAX_RECORDS or the copies
   cannot be allocated (after 8 and 9 the earlier copies are gone); 170 when
   called from inside a host callback, where the library is still reading the
   records in force: then nothing changes. */
KORVAL_API int32_t KORVAL_CALL SetTiketFormularParams2(const TTiketItem* records, int32_t count,
                                                       const char* formatName,
                                                       int32_t printerIndex);

/* Opens the modal label dialog. */
KORVAL_API void KORVAL_CALL ShowTiketFormular(intptr_t hostWindow);

/* Prints the labels of the goods list with the named format, without a dialog. */
KORVAL_API void KORVAL_CALL PrintTiketFormular(void);

/* Answers the interface version, KORVAL_INTERFACE_VERSION. */
KORVAL_API int32_t KORVAL_CALL SetVer2(int32_t hostVersion);

/* Where a record cannot hold a pointer: the extension blocks that non-zero
   Rozsireni values (1-based) refer to. The table must stay valid as long as
   the records that use it. */
KORVAL_API void KORVAL_CALL SetTiketFormularExtensions(const TTiketItemExt* const* blocks,
                                                       int32_t count);

/* The function called after every named save with the host window and
   KORVAL_WM_FORMAT_SAVED. Registered, it replaces the message that is
   otherwise posted to the host window on Windows; elsewhere no message can be
   posted, and the function is the only notice. */
KORVAL_API void KORVAL_CALL SetTiketFormularNotify(TTiketNotifyFunc notify, void* context);

/* The record layout is binding: every offset is checked. */
#ifdef __cplusplus
#define KORVAL_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define KORVAL_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Velikost) == 0, "Velikost");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Rezerva) == 4, "Rezerva");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Nazev) == 5, "Nazev");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Cislo) == 56, "Cislo");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, CenaA) == 69, "CenaA");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, CenaAsDPH) == 77, "CenaAsDPH");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, CenaB) == 85, "CenaB");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, CenaBsDPH) == 93, "CenaBsDPH");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, CenaC) == 101, "CenaC");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, CenaCsDPH) == 109, "CenaCsDPH");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, MinZasoba) == 117, "MinZasoba");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, MaxZasoba) == 125, "MaxZasoba");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, EuroKurz) == 133, "EuroKurz");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Euro) == 141, "Euro");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, PLU1) == 149, "PLU1");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, PLU2) == 155, "PLU2");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, PLU1Cena) == 161, "PLU1Cena");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, PLU2Cena) == 169, "PLU2Cena");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Jednotka) == 177, "Jednotka");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, EAN) == 183, "EAN");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, TkInfo) == 203, "TkInfo");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Pozn1) == 284, "Pozn1");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Pozn2) == 335, "Pozn2");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Pozn3) == 386, "Pozn3");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Pozn4) == 437, "Pozn4");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Pocet) == 488, "Pocet");
KORVAL_STATIC_ASSERT(offsetof(TTiketItem, Rozsireni) == 490, "Rozsireni");
KORVAL_STATIC_ASSERT(sizeof(TTiketItem) == 494, "TTiketItem is 494 bytes");
KORVAL_STATIC_ASSERT(offsetof(TTiketItemExt, CenaZaJednotku) == 4, "CenaZaJednotku");
KORVAL_STATIC_ASSERT(offsetof(TTiketItemExt, Ingredience) == 109, "Ingredience");
#if KORVAL_WIN32_ABI
KORVAL_STATIC_ASSERT(sizeof(TTiketItemList) == 12, "the host list object is 12 bytes");
KORVAL_STATIC_ASSERT(sizeof(TItemTextCallback) == 8, "the callback block is 8 bytes");
KORVAL_STATIC_ASSERT(sizeof(TTiketItemExt) == 113, "TTiketItemExt");
#endif
#undef KORVAL_STATIC_ASSERT

#ifdef __cplusplus
}
#endif

#endif /* KORVAL_KORVAL_H */
