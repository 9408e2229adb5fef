#include "launch/expand_args_pieces.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "launch/expand_args.h"

namespace launcher {

// Why not simply six ReplaceEvery calls: a parameter may hold placeholders of later
// parameters, which hold placeholders of still later ones, so the text grows as the product of
// the parameters' sizes (five parameters of 1,500 placeholders each make 10^16 characters)
// and may shrink back to nothing at the next step. The result here is the same, but no
// intermediate text is ever built:
//
// - Each source text (the template as 0, parameters 1..6) lives on as one "text": its state
//   after the steps so far, as if it stood alone. A text is a list of pieces, each either a
//   slice of its own source or a reference to a later parameter's text, standing where that
//   parameter's placeholder was. All copies of a parameter share its one text, so a step
//   works once per text, never once per copy: the lists grow with the number of
//   placeholders in the sources, not with the size of the expansion. (A step adds two
//   pieces per placeholder inside a slice and one per border, so over six steps a list stays
//   within a constant factor of its source's size.)
// - A step replaces every "%" directly followed by its digit ("leftmost, without overlap"
//   finds all of them, since "%" and a digit cannot overlap). Such a pair lies either inside
//   one piece, where that piece's own text deals with it for all its copies alike, or across
//   the border of two neighbouring pieces of a list: a piece ending in "%" before one that
//   starts with the digit. Only non-empty pieces are kept, so pieces that have become empty
//   never separate a pair.
// - A pair across a border eats the last character of the left piece and the first of the
//   right one. A reference records that as characters cut off its front or back instead of
//   changing the shared text. The cut stays valid in all later steps: the front loses only
//   digits of earlier steps and the back only "%" signs, and neither can be part of a later
//   step's pair, so the cut characters stay unchanged at the very ends of the text.
// - Lengths are remembered per text, together with its first and last few characters (for
//   the border checks). Lengths can exceed 2^64 and saturate at kMany: only a few hundred
//   characters at the front are ever read, and a saturated text is far longer than that.
namespace {

constexpr char kMark = '%';
constexpr int kTexts = kPlaceholderCount + 1;  // the template and parameters 1..6
constexpr int kOwnSource = -1;

using Length = std::uint64_t;
constexpr Length kMany = Length{1} << 62;

Length Sum(Length a, Length b) { return std::min(a + b, kMany); }

struct Piece {
  // kOwnSource for a slice of the text's own source, otherwise the index of the referenced
  // (always later) text.
  int ref;
  // A slice: source bytes [from, to). A reference: the number of characters cut off at the
  // front (`from`) and at the back (`to`) of the referenced text; a piece is cut once at most
  // per step.
  std::size_t from;
  std::size_t to;
};

// Characters remembered at each end of a text: more than the deepest cut, so the first and
// last characters of a piece can be looked up without walking into its text.
constexpr std::size_t kEdge = 8;

struct Text {
  std::string_view source;
  std::vector<Piece> pieces;  // none of them empty
  Length length = 0;          // saturated at kMany
  std::size_t edge = 0;       // min(length, kEdge)
  std::array<char, kEdge> head{};
  std::array<char, kEdge> tail{};
  unsigned refers = 0;  // bit i: the pieces refer, or referred, to text i
};

using Texts = std::array<Text, kTexts>;

Length PieceLength(const Texts& texts, const Piece& piece) {
  if (piece.ref == kOwnSource) return piece.to - piece.from;
  const Length whole = texts[piece.ref].length;
  return whole >= kMany ? kMany : whole - piece.from - piece.to;
}

// Copies `count` characters of text `t`, starting `skip` characters after its start, to
// `out`. The characters must exist. Pieces are never empty, so the walk passes at most
// `skip` pieces before it copies.
void ReadFront(const Texts& texts, int t, Length skip, std::size_t count, char* out) {
  const Text& text = texts[t];
  for (auto piece = text.pieces.begin(); count > 0; ++piece) {
    const Length length = PieceLength(texts, *piece);
    if (skip >= length) {
      skip -= length;
      continue;
    }
    const auto take = static_cast<std::size_t>(std::min<Length>(count, length - skip));
    if (piece->ref == kOwnSource) {
      std::memcpy(out, text.source.data() + piece->from + skip, take);
    } else {
      const Text& inner = texts[piece->ref];
      const Length at = piece->from + skip;
      if (at + take <= inner.edge) {
        std::memcpy(out, inner.head.data() + at, take);
      } else {
        ReadFront(texts, piece->ref, at, take, out);
      }
    }
    out += take;
    count -= take;
    skip = 0;
  }
}

// Copies the `count` characters of text `t` that end `skip` characters before its end to
// `out`, in their order. The characters must exist.
void ReadBack(const Texts& texts, int t, Length skip, std::size_t count, char* out) {
  const Text& text = texts[t];
  char* end = out + count;
  for (auto piece = text.pieces.rbegin(); count > 0; ++piece) {
    const Length length = PieceLength(texts, *piece);
    if (skip >= length) {
      skip -= length;
      continue;
    }
    const auto take = static_cast<std::size_t>(std::min<Length>(count, length - skip));
    end -= take;
    if (piece->ref == kOwnSource) {
      std::memcpy(end, text.source.data() + piece->to - skip - take, take);
    } else {
      const Text& inner = texts[piece->ref];
      const Length at = piece->to + skip;  // counted from the end
      if (at + take <= inner.edge) {
        std::memcpy(end, inner.tail.data() + (inner.edge - at - take), take);
      } else {
        ReadBack(texts, piece->ref, at, take, end);
      }
    }
    count -= take;
    skip = 0;
  }
}

char FirstChar(const Texts& texts, const Text& text, const Piece& piece) {
  if (piece.ref == kOwnSource) return text.source[piece.from];
  const Text& inner = texts[piece.ref];
  if (piece.from < inner.edge) return inner.head[piece.from];
  char c;
  ReadFront(texts, piece.ref, piece.from, 1, &c);
  return c;
}

char LastChar(const Texts& texts, const Text& text, const Piece& piece) {
  if (piece.ref == kOwnSource) return text.source[piece.to - 1];
  const Text& inner = texts[piece.ref];
  if (piece.to < inner.edge) return inner.tail[inner.edge - 1 - piece.to];
  char c;
  ReadBack(texts, piece.ref, piece.to, 1, &c);
  return c;
}

// Appends the slice [from, to) of `source` with every placeholder in it replaced by
// `insertion`; empty slices are left out.
void AppendReplaced(std::string_view source, std::size_t from, std::size_t to,
                    std::string_view placeholder, const Piece& insertion, std::vector<Piece>& out) {
  const std::string_view slice = source.substr(0, to);
  for (std::size_t at; (at = slice.find(placeholder, from)) != std::string_view::npos;
       from = at + placeholder.size()) {
    if (at > from) out.push_back({kOwnSource, from, at});
    out.push_back(insertion);
  }
  if (to > from) out.push_back({kOwnSource, from, to});
}

// Applies one step to text `t`: every placeholder in it becomes a reference to text
// `inserted`. The texts after `t` must still be in their state before the step, because
// the borders are checked against the text that the step scans. `scratch` is reused
// storage. Tells whether a placeholder was found.
bool ApplyStep(Texts& texts, int t, std::string_view placeholder, int inserted,
               std::vector<Piece>& scratch) {
  Text& text = texts[t];
  const Piece insertion{inserted, 0, 0};
  bool found = false;
  bool after_mark = false;  // the previous piece ends in "%"
  for (std::size_t i = 0; i < text.pieces.size(); ++i) {
    Piece rest = text.pieces[i];
    const bool across = after_mark && FirstChar(texts, text, rest) == placeholder[1];
    after_mark = LastChar(texts, text, rest) == kMark;
    if (!found) {
      // Most pieces of a long text stay as they are: nothing is copied before the first
      // placeholder.
      const bool inside =
          rest.ref == kOwnSource &&
          text.source.substr(0, rest.to).find(placeholder, rest.from) != std::string_view::npos;
      if (!across && !inside) continue;
      scratch.assign(text.pieces.begin(), text.pieces.begin() + static_cast<std::ptrdiff_t>(i));
      found = true;
    }
    if (across) {
      // A placeholder across the border: it eats the "%" at the back of the previous piece
      // (whose last output piece holds it) and the digit at the front of this one.
      Piece& left = scratch.back();
      if (left.ref != kOwnSource) {
        ++left.to;
      } else if (--left.to == left.from) {
        scratch.pop_back();
      }
      scratch.push_back(insertion);
      ++rest.from;
    }
    if (rest.ref == kOwnSource) {
      AppendReplaced(text.source, rest.from, rest.to, placeholder, insertion, scratch);
    } else {
      // The referenced text takes the step itself, for all its copies.
      scratch.push_back(rest);
    }
  }
  if (!found) return false;
  text.refers |= 1u << inserted;
  text.pieces.assign(scratch.begin(), scratch.end());  // keeps both capacities for later steps
  return true;
}

// Drops the pieces of text `t` that have become empty and remembers its length and ends.
// The texts it refers to must be up to date.
void Measure(Texts& texts, int t) {
  Text& text = texts[t];
  Length length = 0;
  auto kept = text.pieces.begin();
  for (const Piece& piece : text.pieces) {
    const Length piece_length = PieceLength(texts, piece);
    if (piece_length == 0) continue;
    length = Sum(length, piece_length);
    *kept++ = piece;
  }
  text.pieces.erase(kept, text.pieces.end());
  text.length = length;
  text.edge = static_cast<std::size_t>(std::min<Length>(length, kEdge));
  ReadFront(texts, t, 0, text.edge, text.head.data());
  ReadBack(texts, t, 0, text.edge, text.tail.data());
}

}  // namespace

std::string ExpandTemplateInPieces(const ParamList& params, std::size_t max_length) {
  Texts texts;
  texts[0].source = kArgTemplate;
  texts[0].pieces.push_back({kOwnSource, 0, kArgTemplate.size()});
  Measure(texts, 0);

  std::vector<Piece> scratch;
  for (int step = 1; step <= kPlaceholderCount; ++step) {
    const char placeholder[] = {kMark, static_cast<char>('0' + step)};
    Text& inserted = texts[step];
    if (step <= params.Count()) inserted.source = params.Param(step);
    if (!inserted.source.empty()) {
      inserted.pieces.push_back({kOwnSource, 0, inserted.source.size()});
    }
    // Earlier texts first: each must see the later ones before the step.
    unsigned changed = 1u << step;
    for (int t = 0; t < step; ++t) {
      if (ApplyStep(texts, t, std::string_view(placeholder, 2), step, scratch)) {
        changed |= 1u << t;
      }
    }
    // Later texts first: each is measured with the new state of the texts it refers to. A
    // text that did not change and refers to none that did keeps its measures.
    for (int t = step; t >= 0; --t) {
      if ((changed & (1u << t)) != 0 || (texts[t].refers & changed) != 0) {
        Measure(texts, t);
        changed |= 1u << t;
      }
    }
  }

  std::string result(static_cast<std::size_t>(std::min<Length>(texts[0].length, max_length)), '\0');
  ReadFront(texts, 0, 0, result.size(), result.data());
  return result;
}

}  // namespace launcher
