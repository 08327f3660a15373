// The options form: torvane's options as controls, read back as the
// options value that command-line.js turns into arguments.
import { kItems, kSubsectorLetters, outputDirectory } from './command-line.js';

const $ = (id) => document.getElementById(id);

// Makes the subsector and item boxes; `changed` is called on every change.
export function buildOptionForm(changed) {
  const boxes = $('subsector-boxes');
  for (const letter of kSubsectorLetters) {
    const label = document.createElement('label');
    label.innerHTML = `<input type="checkbox" value="${letter}"> ${letter.toUpperCase()}`;
    label.title = 'Subsector ' + letter.toUpperCase();
    boxes.append(label);
  }
  const items = $('item-boxes');
  for (const [letter, name] of kItems) {
    const label = document.createElement('label');
    label.innerHTML = `<input type="checkbox" value="${letter}" checked> ${name} <code>-${letter}</code>`;
    items.append(label);
  }
  const setAll = (on) => {
    for (const box of boxes.querySelectorAll('input')) box.checked = on;
    changed();
  };
  $('subsectors-all').addEventListener('click', () => setAll(true));
  $('subsectors-none').addEventListener('click', () => setAll(false));
  $('options').addEventListener('input', changed);
  $('options').addEventListener('change', changed);
}

// The options as the form shows them (see optionArguments).
export function readOptions() {
  const letters = (selector) => [...document.querySelectorAll(selector)].map((b) => b.value).join('');
  const output = document.querySelector('input[name="output"]:checked').value;
  return {
    subsectors: letters('#subsector-boxes input:checked'),
    hexNumbers: document.querySelector('input[name="hex-numbers"]:checked').value,
    date: $('date-text').value,
    itemsOff: letters('#item-boxes input:not(:checked)'),
    outputDir: output === 'dir' ? outputDirectory($('output-dir').value) : null,
  };
}
