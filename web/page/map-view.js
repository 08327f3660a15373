// The map picture: an SVG drawn by torvane-preview, zoomed by wheel,
// buttons or keys, panned by dragging or the arrow keys, and a world's line
// of its map file shown on hover or tap.

import { pictureParts } from './picture-parts.js';

const $ = (id) => document.getElementById(id);
// The elements put in between two frames.
const kElementsAtOnce = 150;

export function makeMapView() {
  const holder = $('picture');
  const view = { svg: null, box: null, full: null, drag: null };

  const setBox = () => { if (view.svg) view.svg.setAttribute('viewBox', view.box.join(' ')); };
  const fit = () => { view.box = [...view.full]; setBox(); };

  // Zooms by `factor` about a point of the map (the centre by default).
  function zoom(factor, point) {
    if (!view.svg) return;
    const [x, y, w, h] = view.box;
    const px = point ? point.x : x + w / 2;
    const py = point ? point.y : y + h / 2;
    const nw = Math.min(view.full[2] * 4, Math.max(view.full[2] / 40, w * factor));
    const scale = nw / w;
    view.box = [px - (px - x) * scale, py - (py - y) * scale, w * scale, h * scale];
    setBox();
  }

  function pan(dx, dy) {
    view.box[0] += dx;
    view.box[1] += dy;
    setBox();
  }

  function mapPoint(event) {
    const point = view.svg.createSVGPoint();
    point.x = event.clientX;
    point.y = event.clientY;
    return point.matrixTransform(view.svg.getScreenCTM().inverse());
  }

  function showWorld(target) {
    const world = target && target.closest ? target.closest('.world') : null;
    if (!world) return;
    const title = world.querySelector('title');
    const line = $('world-line');
    line.textContent = title ? title.textContent : '';
    line.hidden = false;
    for (const old of view.svg.querySelectorAll('.world.selected')) old.classList.remove('selected');
    world.classList.add('selected');
  }

  // The next (or, with -1, the previous) world after the one shown: the
  // keyboard's way to each world's line.
  function stepWorld(direction) {
    const worlds = [...view.svg.querySelectorAll('.world')];
    if (worlds.length === 0) return;
    const at = worlds.findIndex((world) => world.classList.contains('selected'));
    const next = at < 0 ? (direction > 0 ? 0 : worlds.length - 1)
                        : (at + direction + worlds.length) % worlds.length;
    showWorld(worlds[next]);
  }

  holder.addEventListener('wheel', (event) => {
    if (!view.svg) return;
    event.preventDefault();
    zoom(event.deltaY < 0 ? 1 / 1.2 : 1.2, mapPoint(event));
  }, { passive: false });
  holder.addEventListener('pointerdown', (event) => {
    if (!view.svg) return;
    view.drag = { x: event.clientX, y: event.clientY, moved: false };
    holder.setPointerCapture(event.pointerId);
  });
  holder.addEventListener('pointermove', (event) => {
    if (!view.svg) return;
    if (!view.drag) {
      showWorld(event.target);
      return;
    }
    const scale = view.svg.getScreenCTM().a;
    const dx = event.clientX - view.drag.x;
    const dy = event.clientY - view.drag.y;
    if (Math.abs(dx) + Math.abs(dy) > 3) {
      view.drag.moved = true;
      holder.classList.add('dragging');
    }
    if (view.drag.moved) {
      pan(-dx / scale, -dy / scale);
      view.drag.x = event.clientX;
      view.drag.y = event.clientY;
    }
  });
  holder.addEventListener('pointerup', (event) => {
    if (view.drag && !view.drag.moved) {
      // A tap: the pointer capture hides what lies under it.
      holder.releasePointerCapture(event.pointerId);
      showWorld(document.elementFromPoint(event.clientX, event.clientY));
    }
    view.drag = null;
    holder.classList.remove('dragging');
  });
  holder.addEventListener('pointercancel', () => { view.drag = null; });
  holder.addEventListener('keydown', (event) => {
    if (!view.svg) return;
    const step = view.box[2] / 10;
    const keys = {
      '+': () => zoom(1 / 1.2), '=': () => zoom(1 / 1.2), '-': () => zoom(1.2), '0': fit,
      ArrowLeft: () => pan(-step, 0), ArrowRight: () => pan(step, 0),
      ArrowUp: () => pan(0, -step), ArrowDown: () => pan(0, step),
      n: () => stepWorld(1), N: () => stepWorld(1), p: () => stepWorld(-1), P: () => stepWorld(-1),
    };
    if (keys[event.key]) {
      event.preventDefault();
      keys[event.key]();
    }
  });
  $('zoom-in').addEventListener('click', () => zoom(1 / 1.5));
  $('zoom-out').addEventListener('click', () => zoom(1.5));
  $('zoom-fit').addEventListener('click', fit);

  let shown = 0;  // the picture being put in; an older one stops

  // Puts in the picture a part at a time (picture-parts.js), each in a
  // frame of its own, its style sheets first, so that what they style looks
  // right from the start.
  async function putIn(svgText, picture) {
    const text = svgText.replace(/^<\?xml[^>]*>\s*/, '');
    const open = text.slice(0, text.indexOf('>') + 1);
    let inner = text.slice(open.length, text.lastIndexOf('</'));
    const sheets = inner.match(/<style[\s>][\s\S]*?<\/style>/g) || [];
    for (const sheet of sheets) inner = inner.replace(sheet, '');
    const range = document.createRange();
    const parsed = (markup, parent) => {
      range.selectNodeContents(parent);
      return range.createContextualFragment(markup);
    };
    const root = parsed(open + sheets.join('') + '</svg>', holder).firstElementChild;
    if (!root || !root.getAttribute('viewBox')) throw new Error('the picture is not SVG');
    holder.replaceChildren(root);
    holder.setAttribute('aria-busy', 'true');
    view.svg = root;
    view.full = root.getAttribute('viewBox').split(/[\s,]+/).map(Number);
    fit();
    let into = root;
    for (const part of pictureParts(inner, kElementsAtOnce)) {
      if (picture !== shown) return;
      if (part.leave) {
        into = into.parentNode;
      } else if (part.enter) {
        const name = part.enter.match(/^<([^\s/>]+)/)[1];
        into = into.appendChild(parsed(part.enter + `</${name}>`, into).firstElementChild);
      } else {
        into.append(parsed(part.elements, into));
        await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
      }
    }
    if (picture === shown) holder.setAttribute('aria-busy', 'false');
  }

  return {
    // Shows a picture's SVG text, or why there is none. Resolves once the
    // whole picture is in.
    async show({ svg, problem }) {
      const picture = ++shown;
      $('world-line').hidden = true;
      holder.removeAttribute('aria-busy');
      view.svg = null;
      if (svg) {
        try {
          await putIn(svg, picture);
          return;
        } catch (error) {
          problem = error.message;
        }
      }
      if (picture === shown) holder.textContent = 'No picture: ' + problem;
    },
    clear() {
      shown += 1;
      holder.removeAttribute('aria-busy');
      holder.replaceChildren();
      view.svg = null;
    },
  };
}
