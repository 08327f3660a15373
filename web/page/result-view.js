// The result on the page: the summary line and progress, the programs'
// messages, the choice of pictures, the downloads and what a drawing needs.
import { blobOf } from './engine.js';
import { downloadName, scriptOwners } from './run-result.js';

const $ = (id) => document.getElementById(id);
let links = [];  // object URLs of the shown result's downloads
let shownScripts = [];  // the scripts offered, [path, part] pairs
const scriptOfLink = new WeakMap();

// A script's link gets its address when the user reaches it: making a
// thousand addresses at once holds the page for half a second.
function giveAddress(event) {
  const link = event.target.closest && event.target.closest('a');
  if (!link || !scriptOfLink.has(link)) return;
  const url = URL.createObjectURL(blobOf(scriptOfLink.get(link)));
  scriptOfLink.delete(link);
  links.push(url);
  link.href = url;
}

export function summarize(text, failed) {
  const summary = $('result-summary');
  summary.textContent = text;
  summary.classList.toggle('failed', failed);
}

// `progress` is { sector, number, count }, or null when no run goes on.
export function showProgress(progress) {
  const bar = $('run-progress');
  bar.hidden = progress === null;
  if (progress === null) return;
  bar.max = progress.count;
  bar.value = progress.number - 1;
  summarize(`Converting ${progress.sector}: sector ${progress.number} of ${progress.count}…`, false);
}

export function clearMessages() {
  $('messages').textContent = '';
  $('messages').hidden = true;
}

export function appendMessages(command, output) {
  const box = $('messages');
  box.append(`> ${command}\n${output}`);
  box.hidden = false;
}

// Hides the last result's pictures and downloads, and lets their files go.
export function clearResult() {
  for (const url of links) URL.revokeObjectURL(url);
  links = [];
  shownScripts = [];
  for (const id of ['picture-tools', 'picture', 'downloads', 'needs', 'world-line']) $(id).hidden = true;
  $('picture-choice').replaceChildren();
  $('script-links').replaceChildren();
  $('each-script').open = false;
}


// The links to each script on its own, made when the user opens their
// list.
function listScripts() {
  const list = $('script-links');
  if (!$('each-script').open || list.firstChild) return;
  const items = document.createDocumentFragment();
  for (const [path, part] of shownScripts) {
    const item = document.createElement('li');
    const link = document.createElement('a');
    link.href = '#';
    scriptOfLink.set(link, part);
    link.download = downloadName(path);
    link.textContent = path;
    item.append(link);
    items.append(item);
  }
  list.append(items);
}

// Offers `scripts` ([path, part] pairs, engine.js) of `sectors` (as for
// scriptOwner): each as a picture
// to choose and as a download.
export function showScripts(scripts, sectors) {
  clearResult();
  const list = $('script-links');
  if (!list.dataset.wired) {
    for (const type of ['pointerover', 'focusin', 'click']) list.addEventListener(type, giveAddress);
    $('each-script').addEventListener('toggle', listScripts);
    list.dataset.wired = 'yes';
  }
  shownScripts = scripts;
  const choices = document.createDocumentFragment();
  const owners = scriptOwners(sectors);
  for (const [path] of scripts) {
    const owner = owners.get(path);
    const option = document.createElement('option');
    option.value = path;
    option.textContent = owner && owner.letter
        ? `${owner.sector}: subsector ${owner.letter.toUpperCase()} (${path})`
        : `${owner ? owner.sector : path}: the sector (${path})`;
    choices.append(option);
  }
  $('picture-choice').append(choices);
  const any = scripts.length > 0;
  for (const id of ['picture-tools', 'picture', 'downloads']) $(id).hidden = !any;
}

// torvane-preview --needs printed `output`: one "kind: names" line each.
export function showNeeds(output) {
  const list = $('needs-list');
  list.replaceChildren();
  for (const line of output.split('\n')) {
    const colon = line.indexOf(':');
    if (colon < 0) continue;
    const term = document.createElement('dt');
    term.textContent = line.slice(0, colon);
    const names = document.createElement('dd');
    names.textContent = line.slice(colon + 1).trim() || '(none)';
    list.append(term, names);
  }
  $('needs').hidden = false;
}

// Offers `blob` for download as `name`, at once.
export function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}
