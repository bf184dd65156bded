#pragma once

#include <cstdint>

namespace korval {

// The texts of a host's goods record: a string[N] field is one length byte
// and room for N Windows-1250 bytes, N + 1 bytes in all. A host written in
// C, often with UTF-8 strings of its own, fills and reads such fields with
// these two (korval_set_text, korval_get_text). Neither allocates or throws,
// and neither touches a byte outside the sizes it is given.

// Fills the field of fieldSize bytes (1 to 256: the length byte and the
// room) from the NUL-terminated text, converted from UTF-8 when encoding is
// KORVAL_TEXT_UTF8. Returns the length in Windows-1250 bytes that the whole
// text needs; a text longer than the room is stored cut to the room. The
// bytes after the text are zeroed. Characters that Windows-1250 lacks are
// stored as '?' and counted in *replaced; bytes that form no UTF-8
// character are taken as the Windows-1250 bytes they are. Returns
// KORVAL_TEXT_INVALID_ARGUMENT, changing nothing, for a null field or text,
// a size outside 1 to 256 or an unknown encoding. replaced may be null.
std::int32_t SetRecordText(std::uint8_t* field, std::int32_t fieldSize, const char* text,
                           std::int32_t encoding, std::int32_t* replaced) noexcept;

// Copies the text of the field of fieldSize bytes into buffer, NUL-terminated,
// as UTF-8 or as the Windows-1250 bytes. The text ends at its length byte,
// at the field's room when the length byte claims more, or at a NUL byte
// before either. Returns the bytes the whole text needs without the NUL; when
// that is bufferSize or more, buffer holds as many whole characters as fit
// before the NUL. A bufferSize of 0 (buffer may then be null) only measures.
// Returns KORVAL_TEXT_INVALID_ARGUMENT, writing nothing, for a null field, a
// null buffer with a size above 0, a negative size, a field size outside 1 to
// 256 or an unknown encoding.
std::int32_t GetRecordText(const std::uint8_t* field, std::int32_t fieldSize, char* buffer,
                           std::int32_t bufferSize, std::int32_t encoding) noexcept;

}  // namespace korval
