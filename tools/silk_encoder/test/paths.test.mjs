import { test } from 'node:test';
import assert from 'node:assert/strict';
import { copyFileSync, cpSync, mkdirSync, readFileSync, symlinkSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { HERE, LAUNCHER, NATIVE, decode, run, tempRoot, tone } from '../test_helpers.mjs';

const root = tempRoot();
// Blanks, CJK, an ampersand and both kinds of quote: harmless as argv words,
// but each breaks a launcher or wrapper that lets a shell re-split them.
// Windows file names cannot hold a double quote, so the Windows build gets
// single quotes only.
const WINDOWS = LAUNCHER.endsWith('.exe');
const odd = path.join(root, WINDOWS ? `語音 & 'quoted' it's` : `語音 & "quoted" it's`);
mkdirSync(odd);
const input = path.join(odd, '输入 音频.pcm');
writeFileSync(input, tone(1));

// Ways the launcher can be reached: directly, through a symlink in another
// folder (as when linked onto PATH), and as a copy of the whole tool folder
// (for the native encoder, which stands alone, a copy of it).
const symlinked = path.join(odd, 'bin dir', path.basename(LAUNCHER));
mkdirSync(path.dirname(symlinked));
symlinkSync(LAUNCHER, symlinked);

const copied = path.join(odd, 'copied 副本', path.basename(LAUNCHER));
mkdirSync(path.dirname(copied));
copyFileSync(LAUNCHER, copied);
if (!NATIVE) {
  copyFileSync(path.join(HERE, 'silk_v3_encoder.mjs'), path.join(path.dirname(copied), 'silk_v3_encoder.mjs'));
  cpSync(path.join(HERE, 'node_modules'), path.join(path.dirname(copied), 'node_modules'), { recursive: true });
}

const launchers = [
  { name: 'directly', program: LAUNCHER },
  { name: 'through a symlink', program: symlinked },
  { name: 'from a copied folder', program: copied },
];

for (const [i, l] of launchers.entries()) {
  test(`encodes between paths with blanks, CJK, & and quotes, launched ${l.name}`, () => {
    const out = path.join(odd, WINDOWS ? `输出 ${i} & 'x' y.silk` : `输出 ${i} & 'x' "y".silk`);
    const r = run(l.program, [input, out, '-tencent']);
    assert.equal(r.status, 0, r.stderr);
    assert.equal(r.stderr, '');
    assert.equal(readFileSync(out)[0], 0x02);
    const { ms } = decode(out, path.join(odd, `解码 ${i}.pcm`));
    assert.ok(Math.abs(ms - 1000) <= 100, `decoded ${ms} ms`);
  });
}
