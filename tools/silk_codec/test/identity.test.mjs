// The native tools give exactly silk-wasm's bytes, encoding and decoding.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import {
  DECODER, ENCODER, RATE, referenceDecode, referenceEncode, runOk, speech, tempRoot, tone, write,
} from '../test_helpers.mjs';

const root = tempRoot();
const TEXT = '你好，这是一个测试。今天天气很好，我们去公园散步吧。';

const clips = [
  { name: 'speech', pcm: () => speech(root, TEXT, RATE) },
  { name: 'silence', pcm: () => Buffer.alloc(2 * RATE * 2) },
  { name: 'tone', pcm: () => tone(2) },
  { name: 'speech from an 8 kHz source', pcm: () => speech(root, TEXT, 8000) },
  { name: 'speech from a 48 kHz source', pcm: () => speech(root, TEXT, 48000) },
  // Shorter than one 20 ms frame.
  { name: 'ten samples', pcm: () => tone(10 / RATE) },
];

for (const [i, clip] of clips.entries()) {
  test(`${clip.name}: encodes and decodes to silk-wasm's bytes`, async () => {
    const pcm = clip.pcm();
    const input = write(path.join(root, `${i}.pcm`), pcm);
    const expected = await referenceEncode(pcm);

    const tencent = path.join(root, `${i}.tencent.silk`);
    runOk(ENCODER, [input, tencent, '-tencent']);
    assert.ok(readFileSync(tencent).equals(expected), 'the -tencent file differs from silk-wasm');

    const plain = path.join(root, `${i}.plain.silk`);
    runOk(ENCODER, [input, plain]);
    assert.ok(readFileSync(plain).equals(expected.subarray(1)), 'the plain file differs');

    // Both forms decode to silk-wasm's PCM of the same file.
    const decoded = await referenceDecode(expected);
    for (const form of [tencent, plain]) {
      const out = `${form}.pcm`;
      runOk(DECODER, [form, out]);
      assert.ok(readFileSync(out).equals(decoded), `${path.basename(form)} decodes differently`);
    }
  });
}
