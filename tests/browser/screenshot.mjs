// docs/web-phone.png and its copy help/web-phone.png (the help pages travel without docs/): the
// page on a 360x740 phone against the stub server's example hosts (documentation addresses
// only), one of them waking.
//   node screenshot.mjs [OUTPUT]       (run inside tools/isolated-run)
import { copyFileSync } from 'node:fs';
import { join } from 'node:path';
import { here, launch, loadPlaywright, startStub } from './lib.mjs';

const output = process.argv[2] || join(here, '..', '..', 'docs', 'web-phone.png');
const helpCopy = process.argv[2] ? null : join(here, '..', '..', 'help', 'web-phone.png');
const playwright = await loadPlaywright();
const stub = await startStub({ STUB_WAKE_SECONDS: '600' });
const browser = await launch(playwright);
try {
  const context = await browser.newContext({
    viewport: { width: 360, height: 740 },
    isMobile: true,
    hasTouch: true,
    deviceScaleFactor: 1,
  });
  const page = await context.newPage();
  await page.goto(stub.url);
  await page.getByLabel('Password').fill('correct horse');
  await page.getByRole('button', { name: 'Log in' }).click();
  await page.getByRole('button', { name: 'Wake desktop' }).click();
  await page.waitForTimeout(4500);
  await page.screenshot({ path: output });
  if (helpCopy) copyFileSync(output, helpCopy);
  console.log('wrote ' + output + (helpCopy ? ' and ' + helpCopy : ''));
} finally {
  await browser.close();
  stub.process.kill();
}
