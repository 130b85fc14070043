// Shared helpers for the tests in test/. This file lives outside test/ because
// Node 20's test runner would otherwise run it as a test file of its own.

import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, lstatSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after } from 'node:test';

export const HERE = path.dirname(fileURLToPath(import.meta.url));
// The encoder under test: the Node launcher beside this file, or the program
// that SILK_V3_ENCODER names (the native encoder, the same contract).
export const NODE_LAUNCHER = path.join(HERE, 'silk_v3_encoder');
export const LAUNCHER = process.env.SILK_V3_ENCODER || NODE_LAUNCHER;
export const NATIVE = LAUNCHER !== NODE_LAUNCHER;
// A program that runs the encoder, when it cannot run by itself: the
// project's scripts/wine-run for the Windows build.
export const RUNNER = process.env.SILK_CODEC_RUNNER || '';
export const DECODER = path.join(HERE, 'silk_decode.mjs');
export const RATE = 24000;

// Raw s16le mono PCM of a sine tone at 24000 Hz, at about a quarter of full scale.
export function tone(seconds, hz = 440) {
  const n = Math.round(seconds * RATE);
  const pcm = Buffer.alloc(n * 2);
  for (let i = 0; i < n; i++) {
    pcm.writeInt16LE(Math.round(8000 * Math.sin((2 * Math.PI * hz * i) / RATE)), i * 2);
  }
  return pcm;
}

// Starts a program from its path with an argv array, as tosilk does: no shell
// is involved, so blanks and quotes in arguments reach the program untouched.
export function run(program, args, options = {}) {
  const [file, words] = RUNNER && program !== process.execPath ? [RUNNER, [program, ...args]]
                                                              : [program, args];
  const r = spawnSync(file, words, { encoding: 'utf8', timeout: 120_000, ...options });
  if (r.error) throw r.error;
  return r;
}

export function decode(silkPath, pcmPath) {
  const r = run(process.execPath, [DECODER, silkPath, pcmPath]);
  if (r.status !== 0) throw new Error(`decode failed: ${r.stderr}`);
  return { ms: Number(r.stdout.trim()), pcm: readFileSync(pcmPath) };
}

// Tone frequency estimated from upward zero crossings; a wrong sample rate
// anywhere in the chain shows up as a shifted pitch.
export function pitchHz(pcm) {
  let crossings = 0;
  for (let i = 2; i < pcm.length; i += 2) {
    if (pcm.readInt16LE(i - 2) < 0 && pcm.readInt16LE(i) >= 0) crossings++;
  }
  return crossings / (pcm.length / 2 / RATE);
}

// A fresh temporary folder, removed once the calling test file has finished.
export function tempRoot() {
  const dir = mkdtempSync(path.join(tmpdir(), 'silk-encoder-test-'));
  after(() => rmSync(dir, { recursive: true, force: true }));
  return dir;
}

// Every entry below dir with its content, so a before/after comparison catches
// a new, removed or changed file, including a leftover temporary file.
export function snapshot(dir) {
  const out = {};
  for (const name of readdirSync(dir, { recursive: true })) {
    const full = path.join(dir, name);
    out[name] = lstatSync(full).isDirectory() ? '<dir>' : readFileSync(full).toString('hex');
  }
  return out;
}
