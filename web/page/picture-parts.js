// A picture's SVG text cut into parts that can be put into the page one
// after another, each holding at most a given number of elements: styling
// and laying out a dense sector's thousands of elements at once would hold
// the page for most of a second.

// Tags, comments and character data, with quoted attribute values (which
// may hold ">") read whole.
const kMarkup = /<!--[\s\S]*?-->|<!\[CDATA\[[\s\S]*?\]\]>|<(\/?)[A-Za-z][^\s/>]*(?:[^>"']|"[^"]*"|'[^']*')*?(\/?)>/g;

// The parts of `inner`, the text inside the picture's root element, in
// order: { elements: text } is complete elements (and the text between
// them) to put into the current element; { enter: tag } makes the element
// of an opening tag and goes into it, as an element too large for one part
// goes in piece by piece; { leave: true } goes back out of it.
export function pictureParts(inner, limit) {
  const parts = [];
  let from = 0;      // where the text not yet in a part begins
  let elements = 0;  // the elements of that text
  let depth = 0;     // inside the current element's child being read
  let child = null;  // that child: { start, tag, end, elements }
  const flush = (to) => {
    if (to > from) parts.push({ elements: inner.slice(from, to) });
    from = to;
    elements = 0;
  };
  // A child of `size` elements read whole, from `start` to `end`.
  const take = (size, start, end) => {
    if (elements > 0 && elements + size > limit) flush(start);
    elements += size;
    if (elements >= limit) flush(end);
  };
  kMarkup.lastIndex = 0;
  for (let match; (match = kMarkup.exec(inner));) {
    const [tag, closing, selfClosing] = match;
    if (!tag.startsWith('<') || tag.startsWith('<!')) continue;
    const end = match.index + tag.length;
    if (closing) {
      if (depth === 0) {
        flush(match.index);
        parts.push({ leave: true });
        from = end;
        continue;
      }
      depth -= 1;
      if (depth > 0) continue;
      take(child.elements, child.start, end);
      child = null;
    } else {
      if (depth === 0) child = { start: match.index, tag, end, elements: 0 };
      child.elements += 1;
      if (!selfClosing) depth += 1;
      if (depth > 0 && child.elements > limit) {
        flush(child.start);
        parts.push({ enter: child.tag });
        from = child.end;
        kMarkup.lastIndex = child.end;
        depth = 0;
        child = null;
        continue;
      }
      if (depth > 0) continue;
      take(child.elements, child.start, end);
      child = null;
    }
  }
  flush(inner.length);
  return parts;
}
