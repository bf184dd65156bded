/**
 * @file korval.h
 * KORVAL - price-label designer and label printer: the C interface for host
 * programs.
 *
 * A host (a stock-keeping or till program) fills one TTiketItem record per
 * article, hands the records over with the name of a stored label format
 * (SetTiketFormularParams, SetTiketFormularParamsEx or
 * SetTiketFormularParams2), and then either opens the label dialog
 * (ShowTiketFormular) or prints the labels at once (PrintTiketFormular), as
 * often as it likes; parameters may be set again between those calls.
 * korval_set_text and korval_get_text fill and read the texts of a record.
 * examples/host.c is a complete host.
 *
 * @par Texts
 * Every text that crosses this interface as char or as a string[N] field is
 * single-byte Windows-1250 (the format name, the record's fields, the
 * ingredient list, the key and the answer of the host callback). A host that
 * keeps its texts in UTF-8 converts them with korval_set_text and
 * korval_get_text.
 *
 * @par Where the library finds its files
 * When the library is loaded it reads "FormPath" in section [Params] of the
 * host's configuration file: the host executable's path with the extension
 * ".ini" (sklad.exe: sklad.ini beside it). FormPath is the prefix of the
 * format files "TiketFrm.ini" and "TiketSav.000" to "TiketSav.999"; without
 * it, the executable's folder. A FormPath without a final "\\" or "/" stays
 * a plain prefix when its "TiketFrm.ini" exists ("C:\\Etikety\\lab" finds
 * "C:\\Etikety\\labTiketFrm.ini"), else gets the separator when it names an
 * existing folder ("forms" reads "forms/TiketFrm.ini"); when it is neither,
 * the first dialog or print of the load says so once in a warning box
 * ("Varování"), and nothing stored can be found. A change of the
 * configuration takes effect at the next load. The printers of the formats
 * are kept in "etikety.ini" in the current folder of the process.
 *
 * @par Errors
 * No function throws or ends the host, and every call returns. Errors reach
 * the person, not the host: they are message boxes with the caption "Chyba"
 * (an error; one that ends a step names the step and ends in "ERR : " and
 * the error's own message) or "Varování" (a warning); questions are
 * "Dotaz", notes "Informace". An error that ends an exported function early
 * is also written as one line "korval: FUNCTION: message" to standard error.
 * Of the functions that can fail, only SetTiketFormularParams2,
 * korval_set_text and korval_get_text return a result.
 * On Linux without a display (Qt's "offscreen" or "minimal" platform, which
 * the library chooses itself when neither DISPLAY, WAYLAND_DISPLAY nor
 * QT_QPA_PLATFORM is set) no box and no dialog can be shown: every message
 * is written as one line "korval: caption: text" to standard error and takes
 * its harmless answer, Ok, or No for a question (Yes for the question
 * whether to print labels that reach out of the printer's printable area),
 * so nothing waits for a person. On Windows every message is a box that
 * waits for one.
 *
 * @par Threads
 * Call the functions one at a time; none of them may run while another call
 * of this library is in progress on any thread (SetVer2, korval_set_text and
 * korval_get_text excepted: they touch no state).
 * - Windows: call from the thread that owns the host's windows. The dialog
 *   and every box run modally on the calling thread.
 * - Linux: any thread may call. The dialog, the print and the error boxes
 *   run on the thread of the Qt application: the host's own, when the host
 *   runs Qt (its event loop must be running when another thread calls),
 *   else a thread the library starts the first time it needs one. The
 *   calling thread waits in the call until the work is done.
 * - The host callback (TItemTextFunc) and the save notice (TTiketNotifyFunc)
 *   are called on that same thread (the dialog's), from inside
 *   ShowTiketFormular or PrintTiketFormular. From inside them,
 *   SetTiketFormularParams2 changes nothing and returns KORVAL_ERROR_BUSY,
 *   since the library is still reading the records in force; the other
 *   functions that take parameters or show or print must not be called from
 *   there (they are not guarded).
 *
 * @par Windows and Linux
 * - Calling convention: on 32-bit Windows the functions use __stdcall
 *   (KORVAL_CALL) and are exported undecorated by KORVAL.def; the host
 *   callback uses the host's register convention (TItemTextFunc). On 64-bit
 *   Windows and on Linux everything is the C convention with the same
 *   argument order and widths.
 * - hostWindow: on Windows an HWND; on Linux a native window id of the
 *   display Qt runs on (an X11 window id under X11). See ShowTiketFormular.
 * - TTiketItem::Rozsireni: a pointer to the extension block on 32-bit
 *   Windows; elsewhere (64-bit Windows, Linux) pointers do not fit the 4
 *   bytes, and it is a 1-based index into the table of
 *   SetTiketFormularExtensions.
 * - TTiketItemExt is 113 bytes where pointers are 32 bits wide and 117 where
 *   they are 64 bits wide (its last field is a pointer).
 * - The notice of a named save: on Windows WM_USER + 1 posted to the host
 *   window, or the function of SetTiketFormularNotify when one is
 *   registered; on Linux only that function.
 * - printerIndex counts the printers as the system lists them: on Windows
 *   the local printers and the connections to shared ones, in the spooler's
 *   order; on Linux the print system's (CUPS) queues followed by the
 *   library's own printer "PDF", which writes labels.pdf in the current
 *   folder.
 */
#ifndef KORVAL_KORVAL_H
#define KORVAL_KORVAL_H

#include <stddef.h>
#include <stdint.h>

/** 1 on 32-bit Windows, where the functions are __stdcall and a record holds
    a pointer to its extension block; 0 elsewhere. */
#if defined(_WIN32) && !defined(_WIN64)
#define KORVAL_WIN32_ABI 1
#define KORVAL_CALL __stdcall
#else
#define KORVAL_WIN32_ABI 0
/** The calling convention of the functions: __stdcall on 32-bit Windows. */
#define KORVAL_CALL
#endif

/** Marks the exported functions: imported from KORVAL.dll by a Windows host,
    visible in libkorval on Linux. */
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

/** The interface version that SetVer2 answers: 3.1 (high word 3, low word 1). */
#define KORVAL_INTERFACE_VERSION 196609

/** The size every record must announce in TTiketItem::Velikost. */
#define KORVAL_TIKET_ITEM_SIZE 494

/** The message of a named save of a format (WM_USER + 1): posted to the host
    window on Windows, handed to the TTiketNotifyFunc everywhere. */
#define KORVAL_WM_FORMAT_SAVED 1025

/** @name Results of SetTiketFormularParams2 besides 0
    The Windows system error codes of the same meaning. @{ */
/** More records than the library can hold (above KORVAL_MAX_RECORDS, or the
    copies cannot be allocated). */
#define KORVAL_ERROR_NOT_ENOUGH_MEMORY 8
/** The first record's Velikost is not 494 (or records is 0 with a count). */
#define KORVAL_ERROR_INVALID_BLOCK 9
/** Called from inside the host callback or the save notice: nothing changed. */
#define KORVAL_ERROR_BUSY 170
/** @} */

/** The most records SetTiketFormularParams2 copies (2 GiB of records). */
#define KORVAL_MAX_RECORDS 4194304

/** The most bytes the host callback may ask for (NUL included); a longer
    answer gives an empty text, without the second call. */
#define KORVAL_MAX_HOST_TEXT 65536

/** Request code of the host callback: the further barcodes of a catalogue
    number (the label field "nextean"). */
#define KORVAL_REQUEST_FURTHER_BARCODES 1

#pragma pack(push, 1)

struct TTiketItemExt;

/**
 * One goods item: 494 bytes, packed, little-endian.
 *
 * A string[N] field is one length byte (0 to N) followed by room for N bytes
 * of Windows-1250 text, N + 1 bytes in all (sizeof gives N + 1); bytes past
 * the length are ignored, and a length byte above N reads N bytes, never
 * past the field. korval_set_text fills such a field from UTF-8 or
 * Windows-1250, korval_get_text reads one.
 *
 * Who owns it: the host. Records given by SetTiketFormularParams or
 * SetTiketFormularParamsEx are read in place at every later show or print:
 * the host keeps them valid and unchanged until it sets new parameters or
 * unloads the library. Records given by SetTiketFormularParams2 are copied
 * (494 bytes each) and may be freed when that call returns; the extension
 * blocks they refer to are not copied.
 */
typedef struct TTiketItem {
  int32_t Velikost;    /**< size of the record: must be 494 (KORVAL_TIKET_ITEM_SIZE); a record of
                            another size becoming current shows "SIZE x 494" and is read all
                            the same */
  uint8_t Rezerva;     /**< not read */
  uint8_t Nazev[51];   /**< string[50]  goods name */
  uint8_t Cislo[13];   /**< string[12]  catalogue number; the key of the host callback */
  double CenaA;        /**< price A without VAT */
  double CenaAsDPH;    /**< price A with VAT */
  double CenaB;        /**< price B without VAT */
  double CenaBsDPH;    /**< price B with VAT */
  double CenaC;        /**< price C without VAT */
  double CenaCsDPH;    /**< price C with VAT */
  double MinZasoba;    /**< minimum stock */
  double MaxZasoba;    /**< maximum stock */
  double EuroKurz;     /**< euro exchange rate */
  double Euro;         /**< value in euro */
  uint8_t PLU1[6];     /**< string[5]   PLU number 1 */
  uint8_t PLU2[6];     /**< string[5]   PLU number 2 */
  double PLU1Cena;     /**< price for PLU 1 */
  double PLU2Cena;     /**< price for PLU 2 */
  uint8_t Jednotka[6]; /**< string[5]   unit of measure */
  uint8_t EAN[20];     /**< string[19]  barcode digits */
  uint8_t TkInfo[81];  /**< string[80]  information text of the drawn card */
  uint8_t Pozn1[51];   /**< string[50]  note line 1 */
  uint8_t Pozn2[51];   /**< string[50]  note line 2 */
  uint8_t Pozn3[51];   /**< string[50]  note line 3 */
  uint8_t Pozn4[51];   /**< string[50]  note line 4 */
  uint16_t Pocet;      /**< number of labels to print */
#if KORVAL_WIN32_ABI
  /** The extension block in host memory, or 0 for none. */
  const struct TTiketItemExt* Rozsireni;
#else
  /** Pointers do not fit the record here: 0 for no extension block, else a
      1-based index into the table of SetTiketFormularExtensions (an index
      past its end means none). */
  uint32_t Rozsireni;
#endif
} TTiketItem;

/**
 * Optional extension block of a record, in host memory, read in place at
 * every show or print that binds its record: it, and the ingredient text it
 * points to, stay valid and unchanged as long as a record in force refers to
 * it, also after SetTiketFormularParams2 copied the record.
 *
 * sizeof is 113 where pointers are 32 bits wide and 117 where they are 64
 * bits wide. CenaZaJednotku is always read (the block holds at least its 109
 * bytes); Ingredience only when Velikost is at least sizeof(TTiketItemExt).
 */
typedef struct TTiketItemExt {
  int32_t Velikost;            /**< size of the block in bytes */
  uint8_t CenaZaJednotku[105]; /**< string[104] unit-price template with %TEXT1%..%TEXT3% */
  const char* Ingredience;     /**< ingredient list, NUL-terminated Windows-1250, or 0
                                    for an empty one; read only when Velikost covers it */
} TTiketItemExt;

#pragma pack(pop)

/**
 * The host's goods list object, as SetTiketFormularParams and
 * SetTiketFormularParamsEx take it: read in place at every later show or
 * print, never changed. The object, its Items array and the records stay
 * valid and unchanged until the host sets new parameters or unloads the
 * library. A Count below 0 means no goods; a null entry in Items is no
 * record. The library does not check the addresses.
 */
typedef struct TTiketItemList {
  const void* TypeInfo;           /**< the host's class pointer; not used */
  const TTiketItem* const* Items; /**< contiguous array of record addresses */
  int32_t Count;                  /**< number of entries in Items */
} TTiketItemList;

/**
 * The host callback: answers request KORVAL_REQUEST_FURTHER_BARCODES for the
 * NUL-terminated Windows-1250 key (the record's catalogue number, Cislo).
 *
 * Called first with buffer 0, it sets *length to the size it needs, NUL
 * included, and returns 0; a non-zero result there gives the label text
 * "!! chyba verze !!", a length of 0 (or above KORVAL_MAX_HOST_TEXT) an empty
 * text without a second call. Called again with a buffer of that size, it
 * fills at most that many bytes (a Windows-1250 text, up to its first NUL)
 * and returns 0; any other result gives an empty text. key and buffer are
 * the library's and valid only during the call.
 *
 * It is called whenever a label with the "nextean" field binds a record, on
 * the dialog's thread (see Threads in the file's description); it must not
 * call this library but for SetVer2, korval_set_text and korval_get_text
 * (SetTiketFormularParams2 would answer KORVAL_ERROR_BUSY).
 *
 * On 32-bit Windows it is called in the host's register convention: context
 * in EAX, request in EDX, key in ECX, then the buffer and the length address
 * pushed in that order and removed by the callee. With GCC that is
 * regparm(3) with stdcall and the two stacked arguments declared in reverse
 * order, as below.
 */
#if KORVAL_WIN32_ABI && defined(__GNUC__)
typedef int32_t(__attribute__((regparm(3), stdcall)) *
                TItemTextFunc)(intptr_t context, int32_t request, const char* key, int32_t* length,
                               char* buffer);
#else
typedef int32_t (*TItemTextFunc)(intptr_t context, int32_t request, const char* key, char* buffer,
                                 int32_t* length);
#endif

/** The callback block of SetTiketFormularParamsEx: copied by the library,
    so the block itself may be freed after the call; the function and what
    Context refers to stay valid until another callback replaces it or the
    library is unloaded. */
typedef struct TItemTextCallback {
  TItemTextFunc Func; /**< the function, or 0: the label text is then "!! chyba verze !!" */
  intptr_t Context;   /**< handed back to Func unchanged */
} TItemTextCallback;

/**
 * The save notice: called after every save of a format under a name (not
 * after the last-used state, nor when the save window was left unsaved).
 * @param context    what the host registered with SetTiketFormularNotify
 * @param hostWindow the window of the last ShowTiketFormular (0 before any)
 * @param message    KORVAL_WM_FORMAT_SAVED
 * Called on the dialog's thread while ShowTiketFormular runs; it must not call
 * this library but for SetVer2, korval_set_text and korval_get_text.
 */
typedef void (*TTiketNotifyFunc)(void* context, intptr_t hostWindow, uint32_t message);

/**
 * Hands over a goods list, a format name and a printer index; the callback in
 * force stays. As SetTiketFormularParamsEx with callback 0.
 */
KORVAL_API void KORVAL_CALL SetTiketFormularParams(const TTiketItemList* list,
                                                   const char* formatName, int32_t printerIndex);

/**
 * Hands over a goods list by reference, a format name, a printer index and a
 * host callback. Nothing is shown or printed until ShowTiketFormular or
 * PrintTiketFormular.
 *
 * @param list         the host's list object, kept by address and read at every
 *                     later show or print (see TTiketItemList); 0 for no goods.
 *                     The copies of an earlier SetTiketFormularParams2 stay
 *                     with the library but are no longer used.
 * @param formatName   the stored format to use: NUL-terminated Windows-1250,
 *                     compared with the stored names without regard to case;
 *                     copied, so the host's buffer may be freed after the
 *                     call. 0 for an empty name (the dialog then starts from
 *                     the last-used state).
 * @param printerIndex the label printer as a position in the system's printer
 *                     list (see "Windows and Linux"), or -1 for none. It is
 *                     used only when etikety.ini names no printer for the
 *                     format and no general one; the index of the printer a
 *                     show or print then selects replaces it. When none of
 *                     them names a printer, the printer setup dialog asks for
 *                     one; where it is not shown or is left, a note says that
 *                     the system's default printer is used.
 * @param callback     the callback block, copied (see TItemTextCallback); 0
 *                     keeps the callback in force.
 */
KORVAL_API void KORVAL_CALL SetTiketFormularParamsEx(const TTiketItemList* list,
                                                     const char* formatName, int32_t printerIndex,
                                                     const TItemTextCallback* callback);

/**
 * Hands over count consecutive records by copying them, with a format name
 * and a printer index (as in SetTiketFormularParamsEx); the callback in force
 * stays. The records may be freed when the call returns; extension blocks
 * they refer to may not.
 *
 * The copies of an earlier call are discarded first, in every case but
 * KORVAL_ERROR_BUSY. Only the first record's Velikost is checked.
 *
 * @param records      count records of 494 bytes
 * @param count        number of records; 0 or below gives an empty goods list
 * @param formatName   as in SetTiketFormularParamsEx
 * @param printerIndex as in SetTiketFormularParamsEx
 * @return 0 when the records are in force;
 *         KORVAL_ERROR_INVALID_BLOCK (9) when count is not 0 and records is 0
 *         or the first record's Velikost is not 494;
 *         KORVAL_ERROR_NOT_ENOUGH_MEMORY (8) when count is above
 *         KORVAL_MAX_RECORDS or the copies cannot be allocated (and when the
 *         call fails otherwise, reported as "Errors" above says).
 *         After 8 and 9 the earlier copies are gone (a goods list of copies
 *         in force is empty now); the format name, the printer index and a
 *         host list in force stay as they were.
 *         KORVAL_ERROR_BUSY (170) when called from inside the host callback or
 *         the save notice, where the library is still reading the records in
 *         force: nothing changes.
 */
KORVAL_API int32_t KORVAL_CALL SetTiketFormularParams2(const TTiketItem* records, int32_t count,
                                                       const char* formatName,
                                                       int32_t printerIndex);

/**
 * Opens the label dialog "Nastavení etikety" modally for the goods and the
 * format in force, and returns when the person leaves it. The dialog loads
 * the format, shows the first goods item, previews and prints, and saves the
 * format: "&Ok" and the close box save it (asking first unless automatic
 * saving is on and the format has a name), "&Zrušit" keeps only the
 * last-used state. Nothing is reported back; the save notice tells of named
 * saves.
 *
 * @param hostWindow kept for later calls and handed to the save notice.
 *   On Windows an HWND or 0: the dialog has no owner, and the visible,
 *   enabled windows of the calling thread are disabled while it is open.
 *   While the window exists it owns the message boxes and print dialogs of
 *   later PrintTiketFormular calls, and it gets KORVAL_WM_FORMAT_SAVED after
 *   named saves unless a save notice is registered.
 *   On Linux 0 or a native window id of the display Qt runs on (an X11
 *   window id under X11): the dialog then stands above that window.
 *   Without a display the dialog cannot be shown: the call writes
 *   "korval: no display, the label dialog cannot be shown" to standard error
 *   and returns at once.
 */
KORVAL_API void KORVAL_CALL ShowTiketFormular(intptr_t hostWindow);

/**
 * Prints the labels of the goods in force with the format in force, without
 * a dialog: every record as many labels as its Pocet asks for (0 is one
 * label), sheet after sheet, to the printer that etikety.ini names for the format (else the
 * general one, else printerIndex). No format and no last-used state is
 * saved. Questions and errors are message boxes (standard error without a
 * display); the host window in force is left as it is.
 */
KORVAL_API void KORVAL_CALL PrintTiketFormular(void);

/**
 * Answers the interface version.
 * @param hostVersion the host's version; not used
 * @return KORVAL_INTERFACE_VERSION (196609), always
 */
KORVAL_API int32_t KORVAL_CALL SetVer2(int32_t hostVersion);

/**
 * The extension blocks that non-zero TTiketItem::Rozsireni values refer to,
 * where a record cannot hold a pointer (everywhere but 32-bit Windows, where
 * the table is kept but the records' own pointers are used).
 *
 * @param blocks the table: blocks[0] is index 1. The table is copied and may
 *               be freed after the call; the blocks it points to are read in
 *               place (see TTiketItemExt). 0 clears the table.
 * @param count  number of entries; 0 or below clears the table
 */
KORVAL_API void KORVAL_CALL SetTiketFormularExtensions(const TTiketItemExt* const* blocks,
                                                       int32_t count);

/**
 * Registers the save notice (see TTiketNotifyFunc), replacing the one before.
 * On Windows it replaces the message otherwise posted to the host window;
 * on Linux, where no message can be posted, it is the only notice.
 * @param notify  the function, or 0 for none
 * @param context handed back to notify unchanged
 */
KORVAL_API void KORVAL_CALL SetTiketFormularNotify(TTiketNotifyFunc notify, void* context);

/** @name Record texts
 * korval_set_text and korval_get_text fill and read a string[N] field of a
 * record (or of the extension block): field is the field's first byte (the
 * length byte), fieldSize its whole size in bytes, N + 1, as sizeof gives it
 * (sizeof rec.Nazev is 51). Both write nothing outside the sizes they are
 * given, keep no pointer, may be called from any thread at any time (from the
 * host callback too), and return KORVAL_TEXT_INVALID_ARGUMENT, changing
 * nothing, when an argument is out of range. @{ */

/** The texts are Windows-1250 bytes, as the record holds them. */
#define KORVAL_TEXT_CP1250 1250
/** The texts are UTF-8. */
#define KORVAL_TEXT_UTF8 65001
/** A null pointer, a size out of range or an unknown encoding. */
#define KORVAL_TEXT_INVALID_ARGUMENT (-1)

/**
 * Puts a NUL-terminated text into a string[N] field.
 *
 * From UTF-8 every character becomes one Windows-1250 byte; a character that
 * Windows-1250 lacks becomes '?' and is counted in *replaced; a byte that
 * starts no UTF-8 character is taken as the Windows-1250 byte it is. The
 * field gets the length stored (at most N), the text's first bytes up to N,
 * and zeros in the rest of its room.
 *
 * @param field     the field's length byte
 * @param fieldSize the field's size in bytes, 1 to 256 (N + 1)
 * @param text      the text, NUL-terminated
 * @param encoding  KORVAL_TEXT_UTF8 or KORVAL_TEXT_CP1250
 * @param replaced  where to count the characters stored as '?', or 0: set in
 *                  every case, 0 when there are none; those of the part cut
 *                  off are counted too
 * @return the length in Windows-1250 bytes (characters) of the whole text.
 *         Up to fieldSize - 1 the text is stored whole; a larger result means
 *         that only the first fieldSize - 1 characters were stored.
 *         KORVAL_TEXT_INVALID_ARGUMENT when field or text is 0, fieldSize is
 *         outside 1 to 256 or encoding is unknown: the field is unchanged.
 */
KORVAL_API int32_t KORVAL_CALL korval_set_text(uint8_t* field, int32_t fieldSize, const char* text,
                                               int32_t encoding, int32_t* replaced);

/**
 * Copies the text of a string[N] field into a buffer, NUL-terminated.
 *
 * The text is the field's first length bytes; a length byte above N reads N
 * bytes, and a NUL byte among them ends the text. Every Windows-1250 byte
 * has a UTF-8 form, so nothing is replaced.
 *
 * @param field      the field's length byte
 * @param fieldSize  the field's size in bytes, 1 to 256 (N + 1)
 * @param buffer     where the text goes; may be 0 when bufferSize is 0
 * @param bufferSize the buffer's size in bytes, NUL included; 0 only measures
 * @param encoding   KORVAL_TEXT_UTF8 or KORVAL_TEXT_CP1250
 * @return the bytes the whole text takes in that encoding, NUL not counted.
 *         Below bufferSize the text was copied whole; otherwise the buffer
 *         holds as many whole characters as fit (a UTF-8 character is never
 *         cut) and its NUL, when bufferSize is above 0.
 *         KORVAL_TEXT_INVALID_ARGUMENT when field is 0, fieldSize is outside
 *         1 to 256, bufferSize is negative, buffer is 0 with a bufferSize
 *         above 0, or encoding is unknown: the buffer is unchanged.
 */
KORVAL_API int32_t KORVAL_CALL korval_get_text(const uint8_t* field, int32_t fieldSize,
                                               char* buffer, int32_t bufferSize, int32_t encoding);
/** @} */

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
