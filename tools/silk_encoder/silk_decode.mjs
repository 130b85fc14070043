// node silk_decode.mjs IN.silk OUT.pcm
//
// Test helper: decodes a SILK v3 file (with or without the leading 0x02 byte)
// to raw signed 16-bit little-endian mono PCM at 24000 Hz, and prints the
// decoded length in milliseconds as one line on standard output.

import { readFile, writeFile } from 'node:fs/promises';
import { decode } from 'silk-wasm';

const SAMPLE_RATE = 24000;
const MAGIC = Buffer.from('#!SILK_V3', 'latin1');

try {
  const args = process.argv.slice(2);
  if (args.length !== 2) throw new Error('usage: node silk_decode.mjs IN.silk OUT.pcm');
  const [input, output] = args;

  let silk = await readFile(input);
  // silk-wasm's decoder refuses a file without the 0x02 byte, so it is put
  // back here when it is missing.
  if (silk.subarray(0, MAGIC.length).equals(MAGIC)) silk = Buffer.concat([Buffer.of(0x02), silk]);
  if (silk[0] !== 0x02 || !silk.subarray(1, 1 + MAGIC.length).equals(MAGIC)) {
    throw new Error(`${JSON.stringify(input)} does not start with #!SILK_V3`);
  }

  const { data } = await decode(silk, SAMPLE_RATE);
  await writeFile(output, data);
  // The length is taken from the PCM itself: the duration that silk-wasm's
  // decode reports runs about 40 ms longer than the samples it returns.
  console.log(Math.round((data.length / 2 / SAMPLE_RATE) * 1000));
} catch (err) {
  process.stderr.write(`silk_decode: ${err.message}\n`);
  process.exitCode = 1;
}
