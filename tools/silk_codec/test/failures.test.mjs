// Failures of the native tools: one line on stderr, exit 1 (2 for usage),
// and the folder exactly as it was. The encoder's own contract is tested by
// tools/silk_encoder/test/ run against it; here are the decoder's cases and
// those of running out of memory, which only the native tools have.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { DECODER, ENCODER, referenceEncode, run, snapshot, tempRoot, tone } from '../test_helpers.mjs';

const root = tempRoot();
const silk = await referenceEncode(tone(0.5));
// About 45 minutes of SILK made by repeating the frames of a short file:
// no real input, but one whose copies in the codec's heap cannot fit into a
// memory limit of 17 MiB (the codec starts with 16.1 MiB).
const frames = silk.subarray(10);
const longSilk = Buffer.concat([silk.subarray(0, 10), ...Array(Math.ceil((8 << 20) / frames.length)).fill(frames)]);
const MEMORY_LIMIT = { SILK_CODEC_MAX_MEMORY_MIB: '17' };

// Each case runs in its own fresh folder d, which holds a valid d/in.silk
// (and d/in.pcm); cases marked `input` fail before anything is written, so
// they also run with a d/out.pcm that must survive unchanged.
const cases = [
  { name: 'decoder without arguments', tool: DECODER, code: 2, input: true, args: () => [] },
  { name: 'decoder with one path', tool: DECODER, code: 2, input: true, args: (d) => [`${d}/in.silk`] },
  { name: 'decoder with a third word', tool: DECODER, code: 2, input: true,
    args: (d) => [`${d}/in.silk`, `${d}/out.pcm`, '-tencent'] },
  { name: 'decoder with an option in place of the input', tool: DECODER, code: 2, input: true,
    args: (d) => ['-x', `${d}/out.pcm`] },
  { name: 'decoder with an empty path', tool: DECODER, code: 2, input: true,
    args: (d) => [`${d}/in.silk`, ''] },
  { name: 'decoder with a missing input', tool: DECODER, code: 1, input: true,
    args: (d) => [`${d}/absent.silk`, `${d}/out.pcm`] },
  { name: 'decoder with an empty input', tool: DECODER, code: 1, input: true,
    setup: (d) => writeFileSync(`${d}/empty.silk`, ''),
    args: (d) => [`${d}/empty.silk`, `${d}/out.pcm`] },
  { name: 'decoder with an input that is a folder', tool: DECODER, code: 1, input: true,
    setup: (d) => mkdirSync(`${d}/folder.silk`),
    args: (d) => [`${d}/folder.silk`, `${d}/out.pcm`] },
  { name: 'decoder with an input that is not SILK', tool: DECODER, code: 1, input: true,
    args: (d) => [`${d}/in.pcm`, `${d}/out.pcm`] },
  { name: 'decoder with an output folder that is missing', tool: DECODER, code: 1,
    args: (d) => [`${d}/in.silk`, `${d}/no/such/out.pcm`] },
  { name: 'decoder with an output that is a folder', tool: DECODER, code: 1,
    setup: (d) => mkdirSync(`${d}/out.pcm`),
    args: (d) => [`${d}/in.silk`, `${d}/out.pcm`] },
  { name: 'encoder out of memory', tool: ENCODER, code: 1, input: true, env: MEMORY_LIMIT,
    stderr: /^silk_v3_encoder: input too long: encoding it needs more memory than the 17 MiB this tool can use\n$/,
    setup: (d) => writeFileSync(`${d}/long.pcm`, Buffer.alloc(12_000_000)),
    args: (d) => [`${d}/long.pcm`, `${d}/out.pcm`, '-tencent'] },
  { name: 'decoder out of memory', tool: DECODER, code: 1, input: true, env: MEMORY_LIMIT,
    stderr: /^silk_v3_decoder: input too long: decoding it needs more memory than the 17 MiB this tool can use\n$/,
    setup: (d) => writeFileSync(`${d}/long.silk`, longSilk),
    args: (d) => [`${d}/long.silk`, `${d}/out.pcm`] },
];

let n = 0;
for (const c of cases) {
  for (const existing of c.input ? [false, true] : [false]) {
    test(`fails cleanly: ${c.name}${existing ? ', with an existing output' : ''}`, () => {
      const d = path.join(root, String(n++));
      mkdirSync(d);
      writeFileSync(`${d}/in.silk`, silk);
      writeFileSync(`${d}/in.pcm`, tone(0.1));
      c.setup?.(d);
      if (existing) writeFileSync(`${d}/out.pcm`, 'keep me');
      const before = snapshot(d);

      const r = run(c.tool, c.args(d), c.env);

      assert.equal(r.status, c.code, `exit status; stderr: ${r.stderr}`);
      assert.equal(r.stdout, '');
      const name = path.basename(c.tool).replace(/\.exe$/, '');
      assert.match(r.stderr, c.stderr ?? new RegExp(`^${name}: [^\\n]+\\n$`));
      assert.deepEqual(snapshot(d), before);
    });
  }
}
