#pragma once
// The cipher of password-protected Paradox tables.
//
// A protected table keeps its header in clear and stores a 32-bit key there: the checksum of
// its password. The data blocks of the .db file and the whole .mb file are enciphered in
// independent chunks of 256 bytes; each chunk is permuted and masked by three fixed tables,
// selected by four parameters: the two low bytes of the key and two bytes of position (the
// chunk's place in its block and the block's number; fixed values for the memo file).
// Deciphering needs only the key; a password is checked by computing its checksum and
// comparing it with the stored key, which is how the reader refuses a wrong one.

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace brix::formats::cipher {

constexpr int kChunk = 256;

struct ChunkKey {
    quint8 k0 = 0, k1 = 0, k2 = 0, k3 = 0;
};

// One chunk of 256 bytes from `in` to `out` (different buffers: positions are permuted).
void encipherChunk(const quint8* in, quint8* out, ChunkKey key);
void decipherChunk(const quint8* in, quint8* out, ChunkKey key);

// The checksum of a password: the key a table protected by it stores. 0 for an empty
// password (a table without protection).
quint32 passwordChecksum(QByteArrayView password);

// Data block `number` (1-based, its place in the file) of a .db file, in place. The size must
// be a multiple of 256.
void decipherBlock(char* data, int size, quint32 key, int number);
void encipherBlock(char* data, int size, quint32 key, int number);

// A span of the .mb file, in place; `size` a multiple of 256 and the span starting at a
// multiple of 256 of the file (every chunk of the memo file has the same parameters).
void decipherMemo(char* data, qint64 size, quint32 key);
void encipherMemo(char* data, qint64 size, quint32 key);

} // namespace brix::formats::cipher
