import { test } from 'node:test';
import assert from 'node:assert/strict';
import { chmodSync, mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { LAUNCHER, run, snapshot, tempRoot, tone } from '../test_helpers.mjs';

const root = tempRoot();

// As root, the unprivileged case needs a user that can reach the launcher and
// the test folders; nobody is tried, and the case is skipped if that fails.
const NOBODY = { uid: 65534, gid: 65534 };
let asNobody = {};
let noUnprivilegedUser = false;
if (process.getuid?.() === 0) {
  chmodSync(root, 0o755);
  asNobody = NOBODY;
  noUnprivilegedUser = run(LAUNCHER, [], NOBODY).status !== 2 && 'user nobody cannot run the encoder';
}

// Each case builds its argv inside its own fresh folder d, which already holds
// a valid input d/in.pcm; the usual output path is d/out.silk. Cases marked
// `input` fail before anything is written, so they are also run with a
// pre-existing d/out.silk that must survive unchanged.
const cases = [
  { name: 'no arguments', code: 2, input: true, args: () => [] },
  { name: 'only one path', code: 2, input: true, args: (d) => [`${d}/in.pcm`] },
  { name: 'too many arguments', code: 2, input: true,
    args: (d) => [`${d}/in.pcm`, `${d}/out.silk`, '-tencent', '-tencent'] },
  { name: 'unknown option', code: 2, input: true,
    args: (d) => [`${d}/in.pcm`, `${d}/out.silk`, '-tencnet'] },
  { name: 'a third word that is not an option', code: 2, input: true,
    args: (d) => [`${d}/in.pcm`, `${d}/out.silk`, `${d}/extra`] },
  { name: 'option in place of the input path', code: 2, input: true,
    args: (d) => ['-tencent', `${d}/in.pcm`, `${d}/out.silk`] },
  { name: 'option in place of the output path', code: 2, input: true,
    args: (d) => [`${d}/in.pcm`, '-tencent'] },
  { name: 'missing input file', code: 1, input: true,
    args: (d) => [`${d}/absent.pcm`, `${d}/out.silk`] },
  // The path is echoed in the message, and must not break it into two lines.
  { name: 'missing input whose name holds a newline', code: 1, input: true,
    args: (d) => [`${d}/two\nlines.pcm`, `${d}/out.silk`] },
  { name: 'input is a directory', code: 1, input: true,
    setup: (d) => mkdirSync(`${d}/folder.pcm`),
    args: (d) => [`${d}/folder.pcm`, `${d}/out.silk`] },
  { name: 'empty input', code: 1, input: true,
    setup: (d) => writeFileSync(`${d}/empty.pcm`, ''),
    args: (d) => [`${d}/empty.pcm`, `${d}/out.silk`] },
  { name: 'input with an odd byte count', code: 1, input: true,
    setup: (d) => writeFileSync(`${d}/odd.pcm`, tone(0.1).subarray(1)),
    args: (d) => [`${d}/odd.pcm`, `${d}/out.silk`, '-tencent'] },
  { name: 'output folder missing', code: 1,
    args: (d) => [`${d}/in.pcm`, `${d}/no/such/folder/out.silk`] },
  { name: 'output folder is a regular file', code: 1,
    args: (d) => [`${d}/in.pcm`, `${d}/in.pcm/out.silk`] },
  { name: 'output is an existing directory', code: 1,
    setup: (d) => mkdirSync(`${d}/out.silk`),
    args: (d) => [`${d}/in.pcm`, `${d}/out.silk`] },
  // Root ignores folder permissions, so when the tests run as root (as in
  // CI) this case runs the encoder as the unprivileged user nobody instead.
  { name: 'output folder not writable', code: 1, unprivileged: true,
    setup: (d) => { mkdirSync(`${d}/locked`); chmodSync(`${d}/locked`, 0o555); },
    args: (d) => [`${d}/in.pcm`, `${d}/locked/out.silk`] },
];

let n = 0;
for (const c of cases) {
  for (const existing of c.input ? [false, true] : [false]) {
    const label = `${c.name}${existing ? ', with an existing output' : ''}`;
    test(`fails cleanly: ${label}`, { skip: c.unprivileged && noUnprivilegedUser }, () => {
      const d = path.join(root, String(n++));
      mkdirSync(d);
      writeFileSync(`${d}/in.pcm`, tone(0.1));
      c.setup?.(d);
      if (existing) writeFileSync(`${d}/out.silk`, 'keep me');
      const before = snapshot(d);

      const r = run(LAUNCHER, c.args(d), c.unprivileged ? asNobody : {});

      assert.equal(r.status, c.code, `exit status; stderr: ${r.stderr}`);
      assert.equal(r.stdout, '');
      assert.match(r.stderr, /^silk_v3_encoder: [^\n]+\n$/);
      // Nothing may appear, vanish or change: no output, no temporary file,
      // and an existing output keeps its content.
      assert.deepEqual(snapshot(d), before);
    });
  }
}
