// silk_v3_encoder IN.pcm OUT.silk [-tencent]
//
// Turns raw signed 16-bit little-endian mono PCM at 24000 Hz into a SILK v3
// voice file with silk-wasm. tosilk runs this after ffmpeg has produced the PCM.
// On success it prints nothing and exits 0. On failure it prints one line to
// standard error, exits 1 (2 for usage errors) and leaves OUT as it was.

import { readFile, writeFile, rename, rm } from 'node:fs/promises';
import path from 'node:path';
import { randomBytes } from 'node:crypto';
import { encode } from 'silk-wasm';

const SAMPLE_RATE = 24000;
const MAGIC = Buffer.from('#!SILK_V3', 'latin1');
const TENCENT_BYTE = 0x02;
const USAGE = 'usage: silk_v3_encoder IN.pcm OUT.silk [-tencent]';

class Failure extends Error {
  constructor(message, exitCode = 1) {
    super(message);
    this.exitCode = exitCode;
  }
}

// Paths are quoted with JSON rules so that a name holding quotes or even a
// newline still gives exactly one readable line on standard error.
const quote = (p) => JSON.stringify(p);

function parseArgs(argv) {
  if (argv.length < 2 || argv.length > 3) {
    throw new Failure(`expected two paths and an optional -tencent; ${USAGE}`, 2);
  }
  const [input, output, option] = argv;
  // A word starting with '-' in a path position is almost certainly a
  // misplaced option; taking it as a file name would silently write a file
  // called "-tencent". A real file of that name can be given as ./-tencent.
  for (const p of [input, output]) {
    if (p.startsWith('-')) {
      throw new Failure(`option ${quote(p)} given where a path was expected; ${USAGE}`, 2);
    }
    if (p === '') {
      throw new Failure(`empty path; ${USAGE}`, 2);
    }
  }
  if (option !== undefined && option !== '-tencent') {
    throw new Failure(`unknown option ${quote(option)}; ${USAGE}`, 2);
  }
  return { input, output, tencent: option === '-tencent' };
}

async function readPcm(input) {
  let pcm;
  try {
    pcm = await readFile(input);
  } catch (err) {
    const why = {
      ENOENT: 'no such file',
      EISDIR: 'it is a directory',
      EACCES: 'permission denied',
    }[err.code] ?? err.message;
    throw new Failure(`cannot read input ${quote(input)}: ${why}`);
  }
  if (pcm.length === 0) {
    throw new Failure(`input ${quote(input)} is empty`);
  }
  // silk-wasm quietly drops a trailing odd byte, which would hide a truncated
  // or wrongly converted file, so an odd length is refused here.
  if (pcm.length % 2 !== 0) {
    throw new Failure(
      `input ${quote(input)} has ${pcm.length} bytes, not a whole number of 16-bit samples`);
  }
  return pcm;
}

// silk-wasm's encoder writes the Tencent form (0x02 before the magic). The
// byte is checked rather than assumed, so a future silk-wasm that changes its
// output fails loudly here instead of producing a subtly wrong file.
function withHeader(silk, tencent) {
  const hasByte = silk[0] === TENCENT_BYTE;
  const body = hasByte ? silk.subarray(1) : silk;
  if (!body.subarray(0, MAGIC.length).equals(MAGIC)) {
    throw new Failure('encoder output does not start with #!SILK_V3');
  }
  return tencent ? Buffer.concat([Buffer.of(TENCENT_BYTE), body]) : body;
}

// The file is written under a temporary name in OUT's own folder and then
// renamed, because a rename within one folder is atomic: OUT is either the
// old file or the complete new one, never a partial one.
async function writeAtomically(output, data) {
  const dir = path.dirname(output);
  const tmp = path.join(dir, `.${path.basename(output)}.${randomBytes(6).toString('hex')}.tmp`);
  try {
    await writeFile(tmp, data, { flag: 'wx' });
    await rename(tmp, output);
  } catch (err) {
    await rm(tmp, { force: true }).catch(() => {});
    const why = {
      ENOENT: 'folder does not exist',
      ENOTDIR: 'a part of the path is not a folder',
      EACCES: 'permission denied',
      EPERM: 'permission denied',
      EROFS: 'read-only file system',
      EISDIR: 'it is a directory',
      ENOSPC: 'no space left on device',
    }[err.code] ?? err.message;
    throw new Failure(`cannot write output ${quote(output)}: ${why}`);
  }
}

async function main(argv) {
  const { input, output, tencent } = parseArgs(argv);
  const pcm = await readPcm(input);
  let result;
  try {
    result = await encode(pcm, SAMPLE_RATE);
  } catch (err) {
    throw new Failure(`encoding failed: ${err.message}`);
  }
  // Encoding happens fully in memory before OUT's folder is touched, so any
  // failure up to here leaves a pre-existing OUT alone.
  await writeAtomically(output, withHeader(Buffer.from(result.data), tencent));
}

try {
  await main(process.argv.slice(2));
} catch (err) {
  const message = err instanceof Failure ? err.message : `unexpected error: ${err?.message ?? err}`;
  process.stderr.write(`silk_v3_encoder: ${message.replace(/\s*\n\s*/g, ' ')}\n`);
  process.exitCode = err instanceof Failure ? err.exitCode : 1;
}
