import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, readdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { LAUNCHER, decode, pitchHz, run, tempRoot, tone } from '../test_helpers.mjs';

const MAGIC = Buffer.from('#!SILK_V3', 'latin1');
const root = tempRoot();
const input = path.join(root, 'tone.pcm');
writeFileSync(input, tone(2));

const variants = [
  { name: 'plain', args: [], header: MAGIC },
  { name: 'tencent', args: ['-tencent'], header: Buffer.concat([Buffer.of(0x02), MAGIC]) },
];

for (const v of variants) {
  test(`encodes a 2 s tone (${v.name}) into a file that decodes back to it`, () => {
    const out = path.join(root, `${v.name}.silk`);
    const r = run(LAUNCHER, [input, out, ...v.args]);
    assert.equal(r.status, 0, r.stderr);
    assert.equal(r.stdout, '');
    assert.equal(r.stderr, '');

    const silk = readFileSync(out);
    assert.deepEqual(silk.subarray(0, v.header.length), v.header);

    const { ms, pcm } = decode(out, path.join(root, `${v.name}.pcm`));
    assert.ok(Math.abs(ms - 2000) <= 100, `decoded ${ms} ms`);
    const hz = pitchHz(pcm);
    assert.ok(Math.abs(hz - 440) <= 20, `decoded pitch ${hz} Hz`);
  });
}

test('the two forms differ only by the leading 0x02 byte, and no temporary file is left', () => {
  const plain = readFileSync(path.join(root, 'plain.silk'));
  const tencent = readFileSync(path.join(root, 'tencent.silk'));
  assert.deepEqual(tencent.subarray(1), plain);
  assert.deepEqual(readdirSync(root).filter((n) => n.endsWith('.tmp')), []);
});

test('replaces an existing output file on success', () => {
  const out = path.join(root, 'existing.silk');
  writeFileSync(out, 'old content');
  const r = run(LAUNCHER, [input, out]);
  assert.equal(r.status, 0, r.stderr);
  assert.deepEqual(readFileSync(out), readFileSync(path.join(root, 'plain.silk')));
});
